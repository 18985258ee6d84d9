// The widget side of a unit: every unit's widget is UnitWidget<QtClass>, which turns the
// Qt events it receives into the unit's numbered events before (or, for focus, after) the
// widget's own handling, and withholds those that a handler swallows.
#pragma once

#include <QEvent>
#include <QWidget>
#include <functional>
#include <utility>

namespace runtime {

class Unit;

class UnitWidgetBase {
 public:
  explicit UnitWidgetBase(Unit* unit) : unit_(unit) {}
  virtual ~UnitWidgetBase() = default;
  Unit* AttachedUnit() const { return unit_; }
  void DetachUnit() { unit_ = nullptr; }

 private:
  Unit* unit_;
};

// Handles event for unit around base (the widget's own event handling).
bool TranslateUnitEvent(Unit* unit, QEvent* event, const std::function<bool(QEvent*)>& base);

template <class QtWidget>
class UnitWidget : public QtWidget, public UnitWidgetBase {
 public:
  template <class... Args>
  explicit UnitWidget(Unit* unit, Args&&... args) : QtWidget(std::forward<Args>(args)...), UnitWidgetBase(unit) {
    this->setMouseTracking(true);
  }

 protected:
  bool event(QEvent* e) override {
    Unit* unit = AttachedUnit();
    if (!unit) return QtWidget::event(e);
    return TranslateUnitEvent(unit, e, [this](QEvent* ev) { return QtWidget::event(ev); });
  }
};

}  // namespace runtime
