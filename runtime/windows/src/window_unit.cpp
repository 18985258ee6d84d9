// The window's own unit: a top-level widget whose close goes through the window layer.
#include <QCloseEvent>

#include "appearance.h"
#include "qt_text.h"
#include "unit_widget.h"
#include "units.h"
#include "window_lifetime.h"

namespace runtime {
namespace {

class FormWindow : public UnitWidget<QWidget> {
 public:
  FormWindow(Unit* unit, WindowEntry& entry) : UnitWidget<QWidget>(unit, nullptr), entry_(entry) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    // The window layer decides when the window goes (not while a handler still needs it).
    event->ignore();
    if (AttachedUnit()) RequestClose(entry_);
  }

 private:
  WindowEntry& entry_;
};

class WindowUnit : public Unit {
 public:
  using Unit::Unit;

 protected:
  QWidget* MakeWidget(QWidget* /*parent*/) override { return new FormWindow(this, Window()); }

  void Apply(std::int32_t own) override {
    QWidget* w = Widget();
    switch (own) {
      case window_property::Caption: w->setWindowTitle(FromGbk(Bytes(own))); break;
      case window_property::BackgroundColour: ApplyBackgroundColour(w, QPalette::Window, Number(own)); break;
      case window_property::AlwaysOnTop: {
        // Changing a window flag hides a shown window: show it again.
        bool shown = w->isVisible();
        w->setWindowFlag(Qt::WindowStaysOnTopHint, Number(own) == 1);
        if (shown) w->show();
        break;
      }
      default: break;  // stored only
    }
  }
};

}  // namespace

std::unique_ptr<Unit> MakeWindowUnit(WindowEntry& window, UnitSlot& slot) {
  return std::make_unique<WindowUnit>(window, slot);
}

}  // namespace runtime
