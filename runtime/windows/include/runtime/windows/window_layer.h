// The window layer of the runtime: window loading, the message loop, property access and
// event delivery, installed into the frame at start-up.
#pragma once

#include <cstdint>

#include "runtime/library.h"

namespace runtime {

// Gives the frame this layer's routines (frame.h, WindowLayer).
void InstallWindowLayer();

// The entries themselves.
void LoadStartupWindow(std::uint32_t windowId);
void RunMessageLoop();
std::uint64_t ReadProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property, std::int32_t index);
void WriteProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property, std::int32_t index,
                   std::uint32_t valueLow, std::uint32_t valueHigh);
// RuntimeNotify 2008: 1 when a handler ran (its answer is in the record).
std::intptr_t DeliverEvent(EventRecord* event);
// At exit: every live window goes at once.
void DestroyAllWindows();

bool AnyWindowLive();
// Whether a window handle (a unit's live widget) still exists, for the idle callbacks.
bool WindowHandleExists(void* handle);
// The number of program handlers running now (more than one when a handler pumps messages).
int HandlerDepth();
bool MessageLoopEntered();

}  // namespace runtime
