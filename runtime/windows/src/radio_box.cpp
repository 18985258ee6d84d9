// RadioBox over QRadioButton. Qt's own exclusivity would also uncheck the siblings when
// the program writes the checked state, which must change this box alone; so the box is
// not auto-exclusive, and a click or a keyboard selection clears the siblings itself.
#include <QKeyEvent>
#include <QRadioButton>

#include "appearance.h"
#include "qt_text.h"
#include "unit_widget.h"
#include "units.h"

namespace runtime {
namespace {

namespace p = radio_box_property;
constexpr std::int32_t kSelected = 0;

class RadioBoxWidget : public UnitWidget<QRadioButton> {
 public:
  RadioBoxWidget(Unit* unit, QWidget* parent) : UnitWidget<QRadioButton>(unit, parent) { setAutoExclusive(false); }

  // Checks this box and unchecks the other radio boxes of the same parent.
  void Select() {
    setChecked(true);
    for (RadioBoxWidget* sibling : Siblings()) {
      if (sibling != this) sibling->setChecked(false);
    }
  }

 protected:
  void nextCheckState() override { Select(); }

  void keyPressEvent(QKeyEvent* event) override {
    int step = 0;
    switch (event->key()) {
      case Qt::Key_Up:
      case Qt::Key_Left: step = -1; break;
      case Qt::Key_Down:
      case Qt::Key_Right: step = 1; break;
      default: QRadioButton::keyPressEvent(event); return;
    }
    event->accept();
    std::vector<RadioBoxWidget*> boxes;
    for (RadioBoxWidget* box : Siblings()) {
      if (box == this || (box->isVisibleTo(parentWidget()) && box->isEnabled())) boxes.push_back(box);
    }
    auto at = std::find(boxes.begin(), boxes.end(), this) - boxes.begin();
    auto count = static_cast<std::ptrdiff_t>(boxes.size());
    RadioBoxWidget* next = boxes[static_cast<std::size_t>((at + step + count) % count)];
    next->setFocus(Qt::TabFocusReason);
    next->Select();
    if (Unit* unit = next->AttachedUnit()) unit->Raise(kSelected);
  }

 private:
  std::vector<RadioBoxWidget*> Siblings() const {
    std::vector<RadioBoxWidget*> boxes;
    if (!parentWidget()) return boxes;
    for (QObject* child : parentWidget()->children()) {
      if (auto* box = dynamic_cast<RadioBoxWidget*>(child)) boxes.push_back(box);
    }
    return boxes;
  }
};

class RadioBox : public Unit {
 public:
  using Unit::Unit;

 protected:
  QWidget* MakeWidget(QWidget* parent) override { return new RadioBoxWidget(this, parent); }

  void Connect() override {
    auto* box = static_cast<QRadioButton*>(Widget());
    QObject::connect(box, &QRadioButton::clicked, box, [this] { Raise(kSelected); });
  }

  void Apply(std::int32_t own) override {
    auto* box = static_cast<QRadioButton*>(Widget());
    switch (own) {
      case p::Caption: box->setText(FromGbk(Bytes(own))); break;
      case p::LeftText: box->setLayoutDirection(Number(own) == 1 ? Qt::RightToLeft : Qt::LeftToRight); break;
      case p::TextColour: ApplyColour(box, box->foregroundRole(), Number(own)); break;
      case p::BackgroundColour: ApplyBackgroundColour(box, QPalette::Window, Number(own)); break;
      case p::Font: ApplyFont(box, Bytes(own)); break;
      case p::Checked: box->setChecked(Number(own) == 1); break;
      default: break;  // stored only: the picture, the push-button and flat looks, the alignment
    }
  }

  std::optional<OwnValue> ReadLive(std::int32_t own) override {
    if (own != p::Checked) return std::nullopt;
    return OwnValue{static_cast<QRadioButton*>(Widget())->isChecked() ? 1 : 0, {}};
  }
};

}  // namespace

std::unique_ptr<Unit> MakeRadioBox(WindowEntry& window, UnitSlot& slot) { return std::make_unique<RadioBox>(window, slot); }

}  // namespace runtime
