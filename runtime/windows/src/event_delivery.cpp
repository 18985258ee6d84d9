// Event delivery: a unit's event becomes a call of the program's handler.
#include <algorithm>

#include "runtime/messages.h"
#include "runtime/frame.h"
#include "runtime/windows/window_layer.h"
#include "window_lifetime.h"

namespace runtime {
namespace {

int handlerDepth = 0;

struct EventSourceWord {
  std::uint32_t window, unit;
};

EventSourceWord CurrentEventSource() {
  auto word = static_cast<std::uint64_t>(RuntimeNotify(notify::EventSource, 0, 0));
  return {static_cast<std::uint32_t>(word), static_cast<std::uint32_t>(word >> 32)};
}

}  // namespace

int HandlerDepth() { return handlerDepth; }

std::intptr_t DeliverEvent(EventRecord* event) {
  if (!event || ErrorExitNesting() > 0) return 0;
  WindowEntry* window = FindWindow(event->windowId);
  if (!window) RaiseRuntimeError(messages::kEventWindowMissing);
  UnitSlot* unit = window->FindUnit(event->unitId);
  if (!unit) RaiseRuntimeError(messages::kEventUnitMissing);
  if (!unit->type && !unit->record.IsShort()) RaiseRuntimeError(messages::kEventUnitInvalid);
  EventHandler handler = unit->HandlerFor(event->eventNumber);
  if (!handler) return 0;

  const std::int32_t argc = std::clamp(event->argumentCount, 0, 5);
  // A handler that pumps messages can see other events run inside it: each restores the
  // source of the one it interrupted.
  const EventSourceWord interrupted = CurrentEventSource();
  SetEventSource(window->id, unit->record.id);
  ++handlerDepth;
  HandlerResult result = handler(event->arguments, argc);
  --handlerDepth;
  SetEventSource(interrupted.window, interrupted.unit);

  event->returnedValueFlag = result.returnedValue != 0 ? 1 : 0;
  event->returnedValue = result.value;
  if (handlerDepth == 0) CompletePendingCloses();
  return 1;
}

}  // namespace runtime
