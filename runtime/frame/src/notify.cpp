// RuntimeNotify: the one function through which support libraries reach the runtime.
#include <cstdint>

#include "context.h"
#include "runtime/messages.h"
#include "ui/application.h"

namespace runtime {
namespace {

// Truncation toward zero, saturated where the value leaves the 64-bit range (NaN gives 0).
std::intptr_t Truncate(double v) {
  if (v != v) return 0;
  if (v >= 9.2e18) return INTPTR_MAX;
  if (v <= -9.2e18) return INTPTR_MIN;
  return static_cast<std::intptr_t>(v);
}

std::intptr_t NumericToInteger(const CommandArg* arg) {
  switch (arg ? arg->type : types::None) {
    case types::Byte: return static_cast<std::uint8_t>(arg->dataLow);
    case types::Short: return static_cast<std::int16_t>(arg->dataLow);
    case types::Int: return ArgInt(*arg);
    case types::Long: return static_cast<std::intptr_t>(ArgLong(*arg));
    case types::Float: return Truncate(ArgFloat(*arg));
    case types::Double: return Truncate(ArgDouble(*arg));
    default: RaiseRuntimeError(messages::kNotNumeric);
  }
}

std::intptr_t EventSourceWord() {
  const RuntimeContext& context = Context();
  return static_cast<std::intptr_t>(static_cast<std::uint64_t>(context.eventWindow) |
                                    (static_cast<std::uint64_t>(context.eventUnit) << 32));
}

std::intptr_t RaiseEvent(EventRecord* event) {
  const RuntimeContext& context = Context();
  if (!event || ErrorExitNesting() > 0) return 0;
  if (!context.windowLayer || !context.windowLayer->raiseEvent) return 0;
  return context.windowLayer->raiseEvent(event);
}

}  // namespace

void HandleWaitingMessages() {
  if (!ui::HasApplication()) return;
  // A pending quit stays pending, as WM_QUIT stays in the queue for the message loop.
  while (!ui::QuitRequested() && ui::HandleWaitingEvents()) {
  }
}

std::intptr_t RuntimeNotify(std::int32_t code, std::intptr_t p1, std::intptr_t p2) {
  switch (code) {
    case notify::ToInteger: return NumericToInteger(reinterpret_cast<const CommandArg*>(p1));
    case notify::ProgramDirectory: return reinterpret_cast<std::intptr_t>(ProgramDirectory());
    case notify::ProgramFileName: return reinterpret_cast<std::intptr_t>(ProgramFileName());
    case notify::RaiseEvent: return RaiseEvent(reinterpret_cast<EventRecord*>(p1));
    case notify::ObjectKind: return ObjectKind(reinterpret_cast<const void*>(p1));
    case notify::RegisterObject:
      RegisterObject(reinterpret_cast<const void*>(p1), static_cast<std::int32_t>(p2));
      return 0;
    case notify::UnregisterObject: return UnregisterObject(reinterpret_cast<const void*>(p1)) ? 1 : 0;
    case notify::EventSource: return EventSourceWord();
    case notify::HandleWaitingMessages: HandleWaitingMessages(); return 0;
    case notify::Allocate: {
      auto bytes = static_cast<std::int32_t>(p1);
      return reinterpret_cast<std::intptr_t>(p2 ? TryAllocBlock(bytes) : AllocBlock(bytes));
    }
    case notify::Free: FreeBlock(reinterpret_cast<void*>(p1)); return 0;
    case notify::Resize:
      return reinterpret_cast<std::intptr_t>(ResizeBlock(reinterpret_cast<void*>(p1), static_cast<std::int32_t>(p2)));
    case notify::RaiseError: RaiseRuntimeError(reinterpret_cast<const char*>(p1));
    case notify::Exit: ExitProgram(static_cast<std::int32_t>(p1));
    default: return 0;  // services of facilities this program does not use
  }
}

void SetEventSource(std::uint32_t windowId, std::uint32_t unitId) {
  Context().eventWindow = windowId;
  Context().eventUnit = unitId;
}

void ClearEventSource() { SetEventSource(0, 0); }

void SetWindowLayer(const WindowLayer* layer) { Context().windowLayer = layer; }
const WindowLayer* CurrentWindowLayer() { return Context().windowLayer; }
void SetStartRuntimeRoutine(StartRuntimeRoutine routine) { Context().startRoutine = routine; }

}  // namespace runtime
