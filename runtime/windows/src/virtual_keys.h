// Qt keys as the Windows virtual-key codes that key events report.
#pragma once

#include <QKeyEvent>
#include <cstdint>

namespace runtime {

// 0 for a key that has no virtual-key code.
std::int32_t VirtualKeyCode(const QKeyEvent& event);

// The key-state bits of events: 1 Ctrl, 2 Shift, 4 Alt.
std::int32_t KeyStateBits(Qt::KeyboardModifiers modifiers);

}  // namespace runtime
