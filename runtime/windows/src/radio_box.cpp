// RadioBox over QRadioButton. Qt's own exclusivity would also uncheck the siblings when
// the program writes the checked state, which must change this box alone; so the box is
// not auto-exclusive, and a click or a keyboard selection clears the siblings itself.
// The box paints itself, for the looks Qt's radio button lacks: a push button's look,
// the flat look, the text on the left and the text's alignment.
#include <QKeyEvent>
#include <QPainter>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

#include "appearance.h"
#include "qt_text.h"
#include "unit_widget.h"
#include "units.h"

namespace runtime {
namespace {

namespace p = radio_box_property;
constexpr std::int32_t kSelected = 0;

struct Look {
  bool pushLike = false;
  bool flat = false;
  bool leftText = false;
  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

class RadioBoxWidget : public UnitWidget<QRadioButton> {
 public:
  RadioBoxWidget(Unit* unit, QWidget* parent) : UnitWidget<QRadioButton>(unit, parent) { setAutoExclusive(false); }

  void SetLook(const Look& look) {
    look_ = look;
    update();
  }

  // Checks this box and unchecks the other radio boxes of the same parent.
  void Select() {
    setChecked(true);
    for (RadioBoxWidget* sibling : Siblings()) {
      if (sibling != this) sibling->setChecked(false);
    }
  }

 protected:
  void nextCheckState() override { Select(); }

  // A click anywhere on the box selects it, wherever its text stands.
  bool hitButton(const QPoint& position) const override { return rect().contains(position); }

  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    if (look_.pushLike) {
      PaintPushLike(painter, option);
    } else {
      PaintRadio(painter, option);
    }
  }

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
  // Placed as the alignment says, whatever the layout direction.
  int TextFlags() const {
    return static_cast<int>(look_.alignment | Qt::AlignAbsolute) | Qt::TextShowMnemonic | Qt::TextWordWrap;
  }

  void PaintPushLike(QStylePainter& painter, QStyleOptionButton option) {
    option.features = look_.flat ? QStyleOptionButton::Flat : QStyleOptionButton::None;
    if (isChecked() || isDown()) {
      option.state |= QStyle::State_Sunken;
    } else {
      option.state |= QStyle::State_Raised;
    }
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.drawItemText(contents, TextFlags(), palette(), isEnabled(), text(), QPalette::ButtonText);
    if (hasFocus()) DrawFocus(painter, contents);
  }

  void PaintRadio(QStylePainter& painter, const QStyleOptionButton& option) {
    const QSize indicatorSize(style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &option, this),
                              style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, &option, this));
    const int spacing = style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &option, this);
    // The circle stands at the side and at the height that the text takes.
    const Qt::Alignment side = look_.leftText ? Qt::AlignRight : Qt::AlignLeft;
    QRect indicator = QStyle::alignedRect(Qt::LeftToRight, side | (look_.alignment & Qt::AlignVertical_Mask),
                                          indicatorSize, rect());
    QRect textArea = rect();
    if (look_.leftText) {
      textArea.setRight(indicator.left() - spacing);
    } else {
      textArea.setLeft(indicator.right() + 1 + spacing);
    }

    QStyleOptionButton circle = option;
    circle.rect = indicator;
    if (look_.flat) {
      DrawFlatCircle(painter, indicator);
    } else {
      painter.drawPrimitive(QStyle::PE_IndicatorRadioButton, circle);
    }
    painter.drawItemText(textArea, TextFlags(), palette(), isEnabled(), text(), foregroundRole());
    if (hasFocus()) {
      DrawFocus(painter, text().isEmpty() ? indicator
                                          : style()->itemTextRect(fontMetrics(), textArea, TextFlags(), isEnabled(), text()));
    }
  }

  // A plain circle and dot, without the style's shading.
  void DrawFlatCircle(QPainter& painter, const QRect& indicator) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    painter.setPen(QPen(ink, 1));
    painter.setBrush(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Base));
    const QRectF outline = QRectF(indicator).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.drawEllipse(outline);
    if (isChecked()) {
      const qreal inset = outline.width() / 3.5;
      painter.setPen(Qt::NoPen);
      painter.setBrush(ink);
      painter.drawEllipse(outline.adjusted(inset, inset, -inset, -inset));
    }
    painter.restore();
  }

  void DrawFocus(QStylePainter& painter, const QRect& around) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = around.adjusted(-1, -1, 1, 1).intersected(rect());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }

  Look look_;

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
    auto* box = static_cast<RadioBoxWidget*>(Widget());
    switch (own) {
      case p::Caption: box->setText(FromGbk(Bytes(own))); break;
      case p::PushLike:
      case p::Flat:
      case p::LeftText:
      case p::HorizontalAlign:
      case p::VerticalAlign: box->SetLook(CurrentLook()); break;
      case p::TextColour: ApplyColour(box, box->foregroundRole(), Number(own)); break;
      case p::BackgroundColour: ApplyBackgroundColour(box, QPalette::Window, Number(own)); break;
      case p::Font: ApplyFont(box, Bytes(own)); break;
      case p::Checked: box->setChecked(Number(own) == 1); break;
      default: break;  // stored only: the picture
    }
  }

  std::optional<OwnValue> ReadLive(std::int32_t own) override {
    if (own != p::Checked) return std::nullopt;
    return OwnValue{static_cast<QRadioButton*>(Widget())->isChecked() ? 1 : 0, {}};
  }

 private:
  // The flags are on for the value 1 only; an alignment beyond 0 to 2 (a template's own
  // value) counts as its nearest end, as a write clamps it.
  Look CurrentLook() {
    Look look;
    look.pushLike = Number(p::PushLike) == 1;
    look.flat = Number(p::Flat) == 1;
    look.leftText = Number(p::LeftText) == 1;
    look.alignment = AlignmentOf(std::clamp(Number(p::HorizontalAlign), 0, 2), std::clamp(Number(p::VerticalAlign), 0, 2));
    return look;
  }
};

}  // namespace

std::unique_ptr<Unit> MakeRadioBox(WindowEntry& window, UnitSlot& slot) { return std::make_unique<RadioBox>(window, slot); }

}  // namespace runtime
