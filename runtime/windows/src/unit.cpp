#include "unit.h"

#include "runtime/frame.h"
#include "runtime/windows/window_layer.h"
#include "unit_widget.h"

namespace runtime {
namespace {

const char* PointerOf(std::uint64_t bits) { return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(bits)); }

std::uint64_t PointerBits(const void* p) { return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p)); }

std::uint64_t NumberBits(std::int32_t v) { return static_cast<std::uint32_t>(v); }

// Position and size as creation gives them and the common properties read and write them:
// a control's in its parent's client area; a window's position is its frame's, its size
// the inner one. The frame's size is the window system's and known only once the window
// is shown (never offscreen), so a size with the frame would not read back as written.
QRect PlacedRect(const QWidget* w) { return w->isWindow() ? QRect(w->pos(), w->size()) : w->geometry(); }

void Place(QWidget* w, const QRect& r) {
  if (w->isWindow()) {
    w->move(r.topLeft());
    w->resize(r.size());
  } else {
    w->setGeometry(r);
  }
}

}  // namespace

std::uint64_t ValueBits(std::int32_t kind, const OwnValue& value) {
  switch (StorageOf(kind)) {
    case ValueStorage::Number: return NumberBits(value.number);
    case ValueStorage::Text: return PointerBits(NewText(value.bytes.data(), value.bytes.size()));
    case ValueStorage::Bytes: return PointerBits(NewByteSet(value.bytes.data(), value.bytes.size()));
  }
  return 0;
}

OwnValue ValueFromBits(std::int32_t kind, std::uint64_t bits) {
  OwnValue value;
  switch (StorageOf(kind)) {
    case ValueStorage::Number: value.number = static_cast<std::int32_t>(bits & 0xFFFFFFFFu); break;
    case ValueStorage::Text:
      if (const char* text = PointerOf(bits)) value.bytes = text;
      break;
    case ValueStorage::Bytes:
      if (const char* set = PointerOf(bits)) {
        std::int32_t length = ByteSetLength(set);
        if (length > 0) value.bytes.assign(reinterpret_cast<const char*>(ByteSetBytes(set)), length);
      }
      break;
  }
  return value;
}

Unit::Unit(WindowEntry& window, UnitSlot& slot)
    : window_(window), slot_(slot), values_(slot.values), tag_(slot.record.tag), mousePointer_(slot.record.mousePointer) {}

Unit::~Unit() { Detach(); }

void Unit::Create(QWidget* parent) {
  QWidget* widget = MakeWidget(parent);
  widget_ = widget;
  unitWidget_ = dynamic_cast<UnitWidgetBase*>(widget);
  const UnitRecord& r = slot_.record;
  Place(widget, QRect(r.left, r.top, r.width, r.height));
  widget->setEnabled(!r.Disabled());
  for (std::int32_t i = 0; i < static_cast<std::int32_t>(values_.own.size()); ++i) Apply(i);
  // A control shows with its window; the window itself is shown by the loading.
  if (parent) widget->setVisible(r.Visible());
  Connect();
}

void Unit::Detach() {
  if (unitWidget_ && widget_) unitWidget_->DetachUnit();
  unitWidget_ = nullptr;
}

std::uint64_t Unit::Read(std::int32_t property) {
  if (property < kCommonPropertyCount) return ReadCommon(property);
  std::int32_t own = property - kCommonPropertyCount;
  std::optional<OwnValue> live = ReadLive(own);
  return ValueBits(Type().own[own].kind, live ? *live : Own(own));
}

void Unit::Write(std::int32_t property, std::uint64_t value) {
  if (property < kCommonPropertyCount) return WriteCommon(property, value);
  std::int32_t own = property - kCommonPropertyCount;
  const OwnPropertyInfo& info = Type().own[own];
  OwnValue converted = ValueFromBits(info.kind, value);
  if (StorageOf(info.kind) == ValueStorage::Number) converted.number = ClampOwnNumber(info, converted.number);
  WriteOwn(own, converted);
}

void Unit::WriteOwn(std::int32_t own, const OwnValue& value) {
  Own(own) = value;
  if (widget_) Apply(own);
}

std::uint64_t Unit::ReadCommon(std::int32_t property) {
  QWidget* w = widget_;
  if (!w) return 0;
  QRect r = PlacedRect(w);
  switch (property) {
    case common_property::Left: return NumberBits(r.x());
    case common_property::Top: return NumberBits(r.y());
    case common_property::Width: return NumberBits(r.width());
    case common_property::Height: return NumberBits(r.height());
    case common_property::Tag: return ValueBits(value_kind::Text, {0, tag_});
    case common_property::Visible: return NumberBits(w->isHidden() ? 0 : 1);
    case common_property::Disabled: return NumberBits(w->isEnabled() ? 0 : 1);
    case common_property::MousePointer: return ValueBits(value_kind::MousePointer, {0, mousePointer_});
    default: return 0;
  }
}

void Unit::WriteCommon(std::int32_t property, std::uint64_t bits) {
  QWidget* w = widget_;
  if (!w) return;
  OwnValue value = ValueFromBits(CommonPropertyKind(property), bits);
  QRect r = PlacedRect(w);
  switch (property) {
    case common_property::Left: r.moveLeft(value.number); break;
    case common_property::Top: r.moveTop(value.number); break;
    case common_property::Width: r.setWidth(value.number); break;
    case common_property::Height: r.setHeight(value.number); break;
    case common_property::Tag: tag_ = value.bytes; return;
    case common_property::Visible: w->setVisible(value.number != 0); return;
    case common_property::Disabled: w->setEnabled(value.number == 0); return;
    case common_property::MousePointer: mousePointer_ = value.bytes; return;
    default: return;
  }
  Place(w, r);
}

EventOutcome Unit::Raise(std::int32_t eventNumber, std::initializer_list<std::int32_t> arguments) {
  EventRecord record{};
  record.windowId = window_.id;
  record.unitId = slot_.record.id;
  record.eventNumber = eventNumber;
  for (std::int32_t argument : arguments) {
    if (record.argumentCount == 5) break;
    record.arguments[record.argumentCount++] = argument;
  }
  EventOutcome outcome;
  outcome.handled = DeliverEvent(&record) != 0;
  outcome.returnedValue = outcome.handled && record.returnedValueFlag != 0;
  outcome.value = record.returnedValue;
  return outcome;
}

}  // namespace runtime
