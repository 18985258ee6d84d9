// What writes to an edit box's own properties do to the control.
#include <QLineEdit>
#include <QStyle>
#include <QTest>

#include "runtime/windows/window_layer.h"
#include "test_program.h"

namespace testprogram {
namespace {

using testing::ElementsAre;

namespace p {
constexpr std::int32_t Content = 8, MaxLength = 14, InputMode = 18, PasswordChar = 19, SelectionStart = 24,
                       SelectionLength = 25, SelectedText = 26;
}

class EditBoxProperties : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Install(StandardBlock({{kEdit, 0, 1}}));
    runtime::LoadStartupWindow(kWindow);
    Widget(kOwn)->activateWindow();
    Edit()->setFocus();
    Pump();
    Calls().clear();
  }
  static QLineEdit* Edit() { return qobject_cast<QLineEdit*>(Widget(kEdit)); }
};

TEST_F(EditBoxProperties, ContentWriteNotifiesAsTypingDoes) {
  WriteText(kEdit, p::Content, "new");
  EXPECT_EQ(Edit()->text(), "new");
  EXPECT_THAT(CalledProcedures(), ElementsAre(1));
  WriteText(kEdit, p::Content, "new");
  EXPECT_THAT(CalledProcedures(), ElementsAre(1, 1)) << "also when the text stays the same";
  QTest::keyClick(Edit(), Qt::Key_X);
  EXPECT_THAT(CalledProcedures(), ElementsAre(1, 1, 1));
}

TEST_F(EditBoxProperties, SelectionCountsGbkBytes) {
  WriteText(kEdit, p::Content, "a\xD6\xD0\xCE\xC4" "b");  // a中文b
  WriteNumber(kEdit, p::SelectionStart, 1);
  WriteNumber(kEdit, p::SelectionLength, 4);
  EXPECT_EQ(Edit()->selectedText(), QString::fromUtf8("中文"));
  EXPECT_EQ(ReadNumber(kEdit, p::SelectionStart), 1);
  EXPECT_EQ(ReadNumber(kEdit, p::SelectionLength), 4);
  EXPECT_EQ(ReadText(kEdit, p::SelectedText), "\xD6\xD0\xCE\xC4");

  WriteNumber(kEdit, p::SelectionLength, 3);  // half a character does not select it
  EXPECT_EQ(Edit()->selectedText(), QString::fromUtf8("中"));

  WriteText(kEdit, p::SelectedText, "x");
  EXPECT_EQ(Edit()->text(), QString::fromUtf8("ax文b"));

  WriteNumber(kEdit, p::SelectionLength, -1);
  EXPECT_EQ(Edit()->selectedText(), Edit()->text()) << "-1 selects everything";
  WriteNumber(kEdit, p::SelectionStart, -1);
  EXPECT_EQ(Edit()->cursorPosition(), Edit()->text().size()) << "-1 puts the caret at the end";
  EXPECT_FALSE(Edit()->hasSelectedText());
  WriteNumber(kEdit, p::SelectionStart, -7);
  EXPECT_EQ(Edit()->cursorPosition(), 0);
  WriteNumber(kEdit, p::SelectionStart, 99);
  EXPECT_EQ(Edit()->cursorPosition(), Edit()->text().size());
}

TEST_F(EditBoxProperties, InputModes) {
  WriteNumber(kEdit, p::InputMode, 1);
  EXPECT_TRUE(Edit()->isReadOnly());
  EXPECT_EQ(Edit()->echoMode(), QLineEdit::Normal);

  WriteNumber(kEdit, p::InputMode, 2);
  EXPECT_FALSE(Edit()->isReadOnly());
  EXPECT_EQ(Edit()->echoMode(), QLineEdit::Password);
  EXPECT_EQ(Edit()->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, Edit()), '*');
  WriteText(kEdit, p::PasswordChar, "#x");
  EXPECT_EQ(Edit()->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, Edit()), '#')
      << "the first byte of the text";
  EXPECT_EQ(ReadText(kEdit, p::PasswordChar), "#x");
  WriteText(kEdit, p::PasswordChar, nullptr);
  EXPECT_EQ(Edit()->echoMode(), QLineEdit::Normal) << "no password character shows the text";

  WriteNumber(kEdit, p::InputMode, 5);
  EXPECT_FALSE(Edit()->isReadOnly());
  EXPECT_EQ(Edit()->echoMode(), QLineEdit::Normal);
}

TEST_F(EditBoxProperties, TheLimitHoldsForTypingNotForWrites) {
  WriteText(kEdit, p::Content, "");
  WriteNumber(kEdit, p::MaxLength, 3);
  Type(Edit(), QString::fromUtf8("ab中"));  // 中 would make 4 bytes
  EXPECT_EQ(Edit()->text(), "ab");
  WriteText(kEdit, p::Content, "longer than three");
  EXPECT_EQ(ReadText(kEdit, p::Content), "longer than three");
  WriteNumber(kEdit, p::MaxLength, 0);
  Edit()->end(false);
  QTest::keyClicks(Edit(), "!!");
  EXPECT_EQ(Edit()->text(), "longer than three!!") << "0: no limit";
}

}  // namespace
}  // namespace testprogram
