// Button: a push button over QPushButton; a click by mouse or keyboard raises event 0.
#include <QPushButton>

#include "appearance.h"
#include "qt_text.h"
#include "unit_widget.h"
#include "units.h"

namespace runtime {
namespace {

namespace p = button_property;
constexpr std::int32_t kClicked = 0;

class Button : public Unit {
 public:
  using Unit::Unit;

 protected:
  QWidget* MakeWidget(QWidget* parent) override {
    auto* button = new UnitWidget<QPushButton>(this, parent);
    button->setAutoDefault(false);
    return button;
  }

  void Connect() override {
    auto* button = static_cast<QPushButton*>(Widget());
    QObject::connect(button, &QPushButton::clicked, button, [this] { Raise(kClicked); });
  }

  void Apply(std::int32_t own) override {
    auto* button = static_cast<QPushButton*>(Widget());
    switch (own) {
      case p::Caption: button->setText(FromGbk(Bytes(own))); break;
      case p::Font: ApplyFont(button, Bytes(own)); break;
      case p::Kind: button->setDefault(Number(own) == 1); break;
      default: break;  // stored only
    }
  }
};

}  // namespace

std::unique_ptr<Unit> MakeButton(WindowEntry& window, UnitSlot& slot) { return std::make_unique<Button>(window, slot); }

}  // namespace runtime
