// The live Qt widget of a unit, for tools and tests that drive a window as a user would.
#pragma once

#include <cstdint>

class QWidget;

namespace runtime {

// Unit 0 names the window itself; null while the window is not loaded or the unit unknown.
QWidget* FindUnitWidget(std::uint32_t windowId, std::uint32_t unitId);

}  // namespace runtime
