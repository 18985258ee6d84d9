// Label: a caption over QLabel.
#include <QLabel>

#include "appearance.h"
#include "qt_text.h"
#include "unit_widget.h"
#include "units.h"

namespace runtime {
namespace {

namespace p = label_property;

class Label : public Unit {
 public:
  using Unit::Unit;

 protected:
  QWidget* MakeWidget(QWidget* parent) override {
    auto* label = new UnitWidget<QLabel>(this, parent);
    label->setTextFormat(Qt::PlainText);  // a caption is text, never markup
    return label;
  }

  void Apply(std::int32_t own) override {
    auto* label = static_cast<QLabel*>(Widget());
    switch (own) {
      case p::Caption: label->setText(FromGbk(Bytes(own))); break;
      case p::Font: ApplyFont(label, Bytes(own)); break;
      case p::TextColour: ApplyColour(label, QPalette::WindowText, Number(own)); break;
      case p::BackgroundColour: ApplyBackgroundColour(label, QPalette::Window, Number(own)); break;
      case p::HorizontalAlign:
      case p::VerticalAlign:
        label->setAlignment(AlignmentOf(Number(p::HorizontalAlign), Number(p::VerticalAlign)));
        break;
      case p::WordWrap: label->setWordWrap(Number(own) != 0); break;
      default: break;  // stored only
    }
  }
};

}  // namespace

std::unique_ptr<Unit> MakeLabel(WindowEntry& window, UnitSlot& slot) { return std::make_unique<Label>(window, slot); }

}  // namespace runtime
