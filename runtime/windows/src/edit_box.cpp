// EditBox: a single-line edit over QLineEdit.
#include <QCoreApplication>
#include <QLineEdit>
#include <QProxyStyle>
#include <QValidator>
#include <limits>

#include "appearance.h"
#include "qt_text.h"
#include "unit_widget.h"
#include "units.h"

namespace runtime {
namespace {

namespace p = edit_box_property;
constexpr std::int32_t kContentChanged = 0;
constexpr std::int32_t kReadOnlyMode = 1, kPasswordMode = 2;

// The password character of one edit box (Qt takes it from the widget's style).
class PasswordStyle : public QProxyStyle {
 public:
  QChar character = QLatin1Char('*');
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* answer) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return character.unicode();
    return QProxyStyle::styleHint(hint, option, widget, answer);
  }
};

// The text limit counts GBK bytes, and holds for typing only: a written content is kept whole.
class LengthLimit : public QValidator {
 public:
  explicit LengthLimit(QObject* parent) : QValidator(parent) {}
  int limit = 0;  // 0: none
  State validate(QString& input, int& /*position*/) const override {
    return limit > 0 && GbkOffsetOf(input, static_cast<int>(input.size())) > limit ? Invalid : Acceptable;
  }
};

class EditBox : public Unit {
 public:
  using Unit::Unit;

 protected:
  QWidget* MakeWidget(QWidget* parent) override {
    auto* edit = new UnitWidget<QLineEdit>(this, parent);
    edit->setMaxLength(std::numeric_limits<int>::max());
    style_ = new PasswordStyle;
    style_->setParent(edit);
    edit->setStyle(style_);
    limit_ = new LengthLimit(edit);
    edit->setValidator(limit_);
    return edit;
  }

  void Connect() override {
    QObject::connect(Edit(), &QLineEdit::textEdited, Edit(), [this] { Raise(kContentChanged); });
  }

  void Apply(std::int32_t own) override {
    QLineEdit* edit = Edit();
    switch (own) {
      case p::Content: edit->setText(FromGbk(Bytes(own))); break;
      case p::Border: edit->setFrame(Number(own) != 0); break;
      case p::TextColour: ApplyColour(edit, QPalette::Text, Number(own)); break;
      case p::BackgroundColour: ApplyColour(edit, QPalette::Base, Number(own)); break;
      case p::Font: ApplyFont(edit, Bytes(own)); break;
      case p::MaxLength: limit_->limit = Number(own); break;
      case p::InputMode:
      case p::PasswordChar: ApplyInputMode(); break;
      default: break;  // stored only (the selection is the control's own)
    }
  }

  std::optional<OwnValue> ReadLive(std::int32_t own) override {
    QLineEdit* edit = Edit();
    const QString text = edit->text();
    switch (own) {
      case p::Content: return OwnValue{0, ToGbk(text)};
      case p::SelectionStart: return OwnValue{GbkOffsetOf(text, SelectionStart()), {}};
      case p::SelectionLength: return OwnValue{static_cast<std::int32_t>(ToGbk(edit->selectedText()).size()), {}};
      case p::SelectedText: return OwnValue{0, ToGbk(edit->selectedText())};
      default: return std::nullopt;
    }
  }

  void WriteOwn(std::int32_t own, const OwnValue& value) override {
    QLineEdit* edit = Edit();
    switch (own) {
      case p::Content:
        Own(own) = value;
        Apply(own);
        Raise(kContentChanged);  // as typing would
        return;
      case p::SelectionStart: {
        std::int32_t start = value.number;
        if (start == -1) {
          edit->end(false);
        } else {
          edit->setCursorPosition(IndexAtGbkOffset(edit->text(), std::max(start, 0)));
        }
        return;
      }
      case p::SelectionLength: {
        const QString text = edit->text();
        if (value.number == -1) {
          edit->setSelection(0, static_cast<int>(text.size()));
          return;
        }
        int start = SelectionStart();
        int end = IndexAtGbkOffset(text, GbkOffsetOf(text, start) + std::max(value.number, 0));
        edit->setSelection(start, end - start);
        return;
      }
      case p::SelectedText:
        edit->insert(FromGbk(value.bytes));
        Raise(kContentChanged);
        return;
      default: Unit::WriteOwn(own, value);
    }
  }

 private:
  QLineEdit* Edit() const { return static_cast<QLineEdit*>(Widget()); }

  int SelectionStart() const {
    QLineEdit* edit = Edit();
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
  }

  void ApplyInputMode() {
    QLineEdit* edit = Edit();
    const std::int32_t mode = Number(p::InputMode);
    const std::string& character = Bytes(p::PasswordChar);
    edit->setReadOnly(mode == kReadOnlyMode);
    // No password character (an empty text) shows the text as it is.
    if (mode != kPasswordMode || character.empty()) {
      edit->setEchoMode(QLineEdit::Normal);
      return;
    }
    QString shown = FromGbk(character.substr(0, 1));
    style_->character = shown.isEmpty() ? QLatin1Char('?') : shown.at(0);
    QEvent styleChange(QEvent::StyleChange);  // the edit reads the character anew
    QCoreApplication::sendEvent(edit, &styleChange);
    edit->setEchoMode(QLineEdit::Password);
    edit->update();
  }

  PasswordStyle* style_ = nullptr;
  LengthLimit* limit_ = nullptr;
};

}  // namespace

std::unique_ptr<Unit> MakeEditBox(WindowEntry& window, UnitSlot& slot) { return std::make_unique<EditBox>(window, slot); }

}  // namespace runtime
