// A live unit: the Qt widget of one unit of a window, with the unit's property values.
// Each unit type is a subclass that makes its widget and gives its own properties their
// effect; reads and writes by number and the raising of events are common to all.
#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

#include "runtime/windows/window_table.h"

namespace runtime {

class UnitWidgetBase;

// What delivering an event came to.
struct EventOutcome {
  bool handled = false;        // a handler ran
  bool returnedValue = false;  // and returned a value
  std::int32_t value = 0;
  // A mouse or key event is withheld from the widget only when a handler said false.
  bool Swallows() const { return handled && returnedValue && value == 0; }
};

class Unit {
 public:
  Unit(WindowEntry& window, UnitSlot& slot);
  virtual ~Unit();
  Unit(const Unit&) = delete;
  Unit& operator=(const Unit&) = delete;

  // Makes the widget under parent (null: a top-level window), placed and given every value.
  void Create(QWidget* parent);
  QWidget* Widget() const { return widget_; }
  // From now on the widget raises nothing (the window is going).
  void Detach();

  // Property numbers from 0; values in the 64-bit representation of ReadProperty.
  std::uint64_t Read(std::int32_t property);
  void Write(std::int32_t property, std::uint64_t value);

  EventOutcome Raise(std::int32_t eventNumber, std::initializer_list<std::int32_t> arguments = {});

  const UnitTypeInfo& Type() const { return *slot_.type; }
  WindowEntry& Window() const { return window_; }
  UnitSlot& Slot() const { return slot_; }

 protected:
  virtual QWidget* MakeWidget(QWidget* parent) = 0;
  // The widget's signals; connected once every value is applied, so that creation raises nothing.
  virtual void Connect() {}
  // Gives own property i (number - 8) its effect on the widget.
  virtual void Apply(std::int32_t own) { (void)own; }
  // The live state of own property i where the widget holds it (content, checked state).
  virtual std::optional<OwnValue> ReadLive(std::int32_t own) {
    (void)own;
    return std::nullopt;
  }
  // Stores and applies a written value; a type overrides it where a write does more.
  virtual void WriteOwn(std::int32_t own, const OwnValue& value);

  OwnValue& Own(std::int32_t i) { return values_.own[static_cast<std::size_t>(i)]; }
  std::int32_t Number(std::int32_t i) { return Own(i).number; }
  const std::string& Bytes(std::int32_t i) { return Own(i).bytes; }

 private:
  std::uint64_t ReadCommon(std::int32_t property);
  void WriteCommon(std::int32_t property, std::uint64_t value);

  WindowEntry& window_;
  UnitSlot& slot_;
  TypeData values_;
  std::string tag_;
  std::string mousePointer_;
  QPointer<QWidget> widget_;
  UnitWidgetBase* unitWidget_ = nullptr;
};

// A value as ReadProperty returns it: a number in the low word, a new Text or byte set.
std::uint64_t ValueBits(std::int32_t kind, const OwnValue& value);
// A value as WriteProperty receives it, copied.
OwnValue ValueFromBits(std::int32_t kind, std::uint64_t bits);

}  // namespace runtime
