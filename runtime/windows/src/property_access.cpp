// ReadProperty and WriteProperty: a unit's properties by window id, unit id and number.
#include "runtime/messages.h"
#include "runtime/frame.h"
#include "runtime/windows/window_layer.h"
#include "unit.h"

namespace runtime {
namespace {

UnitSlot& FindUnitFor(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property) {
  WindowEntry* window = FindWindow(windowId);
  if (!window) RaiseRuntimeError(messages::kWindowNotInTable);
  UnitSlot* slot = window->FindUnit(unitId);
  if (!slot) RaiseRuntimeError(messages::kWindowOrUnitMissing);
  const std::int32_t count = slot->type ? slot->type->PropertyCount() : kCommonPropertyCount;
  if (property < 0 || property >= count) RaiseRuntimeError(messages::kNoSuchProperty);
  if (property >= kCommonPropertyCount && !slot->live) RaiseRuntimeError(messages::kWindowNotLoaded);
  return *slot;
}

std::uint64_t Bits(std::int32_t v) { return static_cast<std::uint32_t>(v); }

// Without a live window the common properties come from the template, and go there.
std::uint64_t ReadStored(const UnitRecord& r, std::int32_t property) {
  switch (property) {
    case common_property::Left: return Bits(r.left);
    case common_property::Top: return Bits(r.top);
    case common_property::Width: return Bits(r.width);
    case common_property::Height: return Bits(r.height);
    case common_property::Tag: return ValueBits(value_kind::Text, {0, r.tag});
    case common_property::Visible: return r.Visible() ? 1 : 0;
    case common_property::Disabled: return r.Disabled() ? 1 : 0;
    case common_property::MousePointer: return ValueBits(value_kind::MousePointer, {0, r.mousePointer});
    default: return 0;
  }
}

void WriteStored(UnitRecord& r, std::int32_t property, std::uint64_t bits) {
  OwnValue value = ValueFromBits(CommonPropertyKind(property), bits);
  auto flag = [&](std::uint32_t bit) { r.flags[1] = value.number != 0 ? r.flags[1] | bit : r.flags[1] & ~bit; };
  switch (property) {
    case common_property::Left: r.left = value.number; break;
    case common_property::Top: r.top = value.number; break;
    case common_property::Width: r.width = value.number; break;
    case common_property::Height: r.height = value.number; break;
    case common_property::Tag: r.tag = value.bytes; break;
    case common_property::Visible: flag(1); break;
    case common_property::Disabled: flag(2); break;
    case common_property::MousePointer: r.mousePointer = value.bytes; break;
    default: break;
  }
}

}  // namespace

std::uint64_t ReadProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property,
                           std::int32_t /*index*/) {
  UnitSlot& slot = FindUnitFor(windowId, unitId, property);
  return slot.live ? slot.live->Read(property) : ReadStored(slot.record, property);
}

void WriteProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property, std::int32_t /*index*/,
                   std::uint32_t valueLow, std::uint32_t valueHigh) {
  UnitSlot& slot = FindUnitFor(windowId, unitId, property);
  const std::uint64_t bits = static_cast<std::uint64_t>(valueLow) | static_cast<std::uint64_t>(valueHigh) << 32;
  if (slot.live) {
    slot.live->Write(property, bits);
  } else {
    WriteStored(slot.record, property, bits);
  }
}

}  // namespace runtime
