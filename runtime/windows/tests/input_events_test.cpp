// Events from input: the numbered events with their arguments, the swallowing rule, the
// typed-character replacement, clicks, radio boxes by mouse and keyboard.
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "runtime/windows/window_layer.h"
#include "test_program.h"

namespace testprogram {
namespace {

using testing::ElementsAre;

QLineEdit* Edit(std::uint32_t unit = kEdit) { return qobject_cast<QLineEdit*>(Widget(unit)); }
QRadioButton* Radio(std::uint32_t unit) { return qobject_cast<QRadioButton*>(Widget(unit)); }
// Near the indicator: a click at a radio box's centre may miss its hit area.
QPoint Indicator() { return QPoint(6, 12); }

class InputEvents : public WindowTest {
 protected:
  void Load(const std::vector<Binding>& bindings) {
    Install(StandardBlock(bindings));
    runtime::LoadStartupWindow(kWindow);
    Widget(kOwn)->activateWindow();
    Pump();
    Calls().clear();  // focus and creation events of the load
  }
};

TEST_F(InputEvents, ButtonClickByMouseAndKeyboardReachesItsHandler) {
  Load({{kButton, 0, 1}});
  QTest::mouseClick(Widget(kButton), Qt::LeftButton);
  ASSERT_THAT(CalledProcedures(), ElementsAre(1));
  EXPECT_EQ(Calls()[0].sourceUnit, kButton) << "the event source while the handler runs";
  EXPECT_TRUE(Calls()[0].args.empty());

  Widget(kButton)->setFocus();
  QTest::keyClick(Widget(kButton), Qt::Key_Space);
  EXPECT_THAT(CalledProcedures(), ElementsAre(1, 1));
}

TEST_F(InputEvents, LeftClickIntoAnEditBoxRaisesItsEventAndStillMovesTheCaret) {
  Load({{kEdit, -1, 1}});
  Edit()->setCursorPosition(0);
  QPoint end(Edit()->width() - 4, 12);  // past the text: the caret goes to the end
  QTest::mouseClick(Edit(), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, end);
  ASSERT_THAT(CalledProcedures(), ElementsAre(1));
  EXPECT_EQ(Calls()[0].args, (std::vector<std::int32_t>{end.x(), end.y(), 1 | 2}));
  EXPECT_EQ(Calls()[0].sourceUnit, kEdit);
  EXPECT_GT(Edit()->cursorPosition(), 0) << "a handler without a result leaves the click to the box";
}

TEST_F(InputEvents, AHandlerThatSaysFalseSwallowsTheClick) {
  Load({{kEdit, -1, 1}});
  SetBehaviour(1, [](const std::int32_t*, std::int32_t) { return Returns(0); });
  Edit()->setCursorPosition(0);
  QTest::mouseClick(Edit(), Qt::LeftButton, Qt::NoModifier, QPoint(Edit()->width() - 4, 12));
  EXPECT_EQ(Edit()->cursorPosition(), 0);

  SetBehaviour(1, [](const std::int32_t*, std::int32_t) { return Returns(1); });  // true: let it pass
  QTest::mouseClick(Edit(), Qt::LeftButton, Qt::NoModifier, QPoint(Edit()->width() - 4, 12));
  EXPECT_GT(Edit()->cursorPosition(), 0);
}

void SendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, QPoint at,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held, modifiers);
  QApplication::sendEvent(widget, &event);
}

TEST_F(InputEvents, MouseEventNumbersAndPositions) {
  Load({{kLabel, -1, 1}, {kLabel, -2, 2}, {kLabel, -3, 3}, {kLabel, -4, 4}, {kLabel, -5, 5}, {kLabel, -6, 0}});
  QWidget* label = Widget(kLabel);
  // A double click comes as press, release, double-click, release.
  SendMouse(label, QEvent::MouseButtonPress, Qt::LeftButton, {3, 4}, Qt::AltModifier);
  SendMouse(label, QEvent::MouseButtonRelease, Qt::LeftButton, {3, 4});
  SendMouse(label, QEvent::MouseButtonDblClick, Qt::LeftButton, {3, 4}, Qt::AltModifier | Qt::ShiftModifier);
  SendMouse(label, QEvent::MouseButtonRelease, Qt::LeftButton, {3, 4});
  SendMouse(label, QEvent::MouseButtonPress, Qt::RightButton, {5, 6});
  SendMouse(label, QEvent::MouseButtonRelease, Qt::RightButton, {5, 6}, Qt::ControlModifier);
  // A move while the button is held outside the unit: negative positions as unsigned halves.
  SendMouse(label, QEvent::MouseMove, Qt::NoButton, {-3, 7});
  ASSERT_THAT(CalledProcedures(), ElementsAre(1, 2, 3, 2, 4, 5, 0));
  EXPECT_EQ(Calls()[0].args, (std::vector<std::int32_t>{3, 4, 4}));
  EXPECT_EQ(Calls()[2].args, (std::vector<std::int32_t>{3, 4, 4 | 2}));
  EXPECT_EQ(Calls()[4].args, (std::vector<std::int32_t>{5, 6, 0}));
  EXPECT_EQ(Calls()[5].args, (std::vector<std::int32_t>{5, 6, 1}));
  EXPECT_EQ(Calls()[6].args, (std::vector<std::int32_t>{65533, 7, 0}));
}

TEST_F(InputEvents, WheelNotchesAndKeyState) {
  Load({{kOtherEdit, -12, 1}});
  QWheelEvent wheel(QPointF(5, 5), Widget(kOtherEdit)->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -240),
                    Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(Widget(kOtherEdit), &wheel);
  ASSERT_THAT(CalledProcedures(), ElementsAre(1));
  EXPECT_EQ(Calls()[0].args, (std::vector<std::int32_t>{-2, 1}));

  QWheelEvent sideways(QPointF(5, 5), Widget(kOtherEdit)->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(120, 0),
                       Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(Widget(kOtherEdit), &sideways);
  EXPECT_THAT(CalledProcedures(), ElementsAre(1)) << "a sideways turn is no wheel event";
}

void SendKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(widget, &release);
}

TEST_F(InputEvents, KeyEventsCarryTheVirtualKeyAndState) {
  Load({{kOtherEdit, -9, 1}, {kOtherEdit, -10, 2}, {kOtherEdit, -11, 3}});
  QWidget* edit = Edit(kOtherEdit);
  edit->setFocus();
  SendKey(edit, Qt::Key_A, Qt::ShiftModifier, "A");
  SendKey(edit, Qt::Key_F5, Qt::ControlModifier | Qt::AltModifier, "");
  SendKey(edit, Qt::Key_Exclam, Qt::ShiftModifier, "!");  // Shift+1
  SendKey(edit, Qt::Key_5, Qt::KeypadModifier, "5");
  ASSERT_THAT(CalledProcedures(), ElementsAre(1, 3, 2, 1, 2, 1, 3, 2, 1, 3, 2));
  EXPECT_EQ(Calls()[0].args, (std::vector<std::int32_t>{0x41, 2}));
  EXPECT_EQ(Calls()[1].args, (std::vector<std::int32_t>{'A'}));
  EXPECT_EQ(Calls()[2].args, (std::vector<std::int32_t>{0x41, 2}));
  EXPECT_EQ(Calls()[3].args, (std::vector<std::int32_t>{0x74, 1 | 4}));
  EXPECT_EQ(Calls()[5].args, (std::vector<std::int32_t>{0x31, 2}));
  EXPECT_EQ(Calls()[8].args, (std::vector<std::int32_t>{0x65, 0})) << "the number pad's own code";
  EXPECT_EQ(Edit(kOtherEdit)->text(), "A!5");
}

TEST_F(InputEvents, AHandlerThatSaysFalseSwallowsAKey) {
  Load({{kOtherEdit, -9, 1}});
  SetBehaviour(1, [](const std::int32_t* args, std::int32_t) { return Returns(args[0] == 0x42 ? 0 : 1); });
  Edit(kOtherEdit)->setFocus();
  QTest::keyClicks(Edit(kOtherEdit), "abc");
  EXPECT_EQ(Edit(kOtherEdit)->text(), "ac");
  QTest::keyClick(Edit(kOtherEdit), Qt::Key_Backspace);
  EXPECT_EQ(Edit(kOtherEdit)->text(), "a");
}

TEST_F(InputEvents, TypedCharactersCanBeReplacedOrDropped) {
  Load({{kOtherEdit, -11, 1}});
  SetBehaviour(1, [](const std::int32_t* args, std::int32_t) {
    if (args[0] == 'a') return Returns('*');
    if (args[0] == 'b') return Returns(0);
    if (args[0] == 'c') return Returns(0xD6D0);  // 中 in GBK
    return runtime::HandlerResult{0, 0};
  });
  Edit(kOtherEdit)->setFocus();
  QTest::keyClicks(Edit(kOtherEdit), "abcd");
  EXPECT_EQ(Edit(kOtherEdit)->text(), QString::fromUtf8("*中d"));

  Calls().clear();
  Type(Edit(kOtherEdit), QString::fromUtf8("文"));
  ASSERT_EQ(Calls().size(), 1u);
  EXPECT_EQ(Calls()[0].args, (std::vector<std::int32_t>{0xCEC4})) << "a double-byte character as its GBK code";
}

TEST_F(InputEvents, FocusEventsFollowTheControlsOwnHandling) {
  Load({{kEdit, -7, 1}, {kEdit, -8, 2}});
  Edit(kOtherEdit)->setFocus();
  Calls().clear();
  SetBehaviour(1, [](const std::int32_t*, std::int32_t) {
    EXPECT_TRUE(Edit()->hasFocus());
    return runtime::HandlerResult{0, 0};
  });
  Edit()->setFocus();
  Edit(kOtherEdit)->setFocus();
  EXPECT_THAT(CalledProcedures(), ElementsAre(1, 2));
}

TEST_F(InputEvents, RadioBoxClickChecksItUnchecksTheOthersAndRaisesEventZero) {
  Load({{kRadio2, 0, 1}});
  WriteNumber(kRadio3, 18, 1);  // two checked at once, by writes
  QTest::mouseClick(Radio(kRadio2), Qt::LeftButton, Qt::NoModifier, Indicator());
  EXPECT_TRUE(Radio(kRadio2)->isChecked());
  EXPECT_FALSE(Radio(kRadio1)->isChecked());
  EXPECT_FALSE(Radio(kRadio3)->isChecked());
  EXPECT_THAT(CalledProcedures(), ElementsAre(1));

  QTest::mouseClick(Radio(kRadio2), Qt::LeftButton, Qt::NoModifier, Indicator());
  EXPECT_TRUE(Radio(kRadio2)->isChecked()) << "a click on a checked box keeps it checked";
  EXPECT_THAT(CalledProcedures(), ElementsAre(1, 1));
}

TEST_F(InputEvents, RadioBoxesByKeyboard) {
  Load({{kRadio1, 0, 1}, {kRadio2, 0, 2}, {kRadio3, 0, 3}});
  Radio(kRadio1)->setFocus();
  QTest::keyClick(Radio(kRadio1), Qt::Key_Down);
  EXPECT_TRUE(Radio(kRadio2)->hasFocus());
  EXPECT_TRUE(Radio(kRadio2)->isChecked());
  EXPECT_FALSE(Radio(kRadio1)->isChecked());
  QTest::keyClick(Radio(kRadio2), Qt::Key_Down);
  QTest::keyClick(Radio(kRadio3), Qt::Key_Down);  // round to the first again
  EXPECT_TRUE(Radio(kRadio1)->isChecked());
  EXPECT_FALSE(Radio(kRadio3)->isChecked());
  QTest::keyClick(Radio(kRadio1), Qt::Key_Up);
  EXPECT_TRUE(Radio(kRadio3)->isChecked());
  EXPECT_THAT(CalledProcedures(), ElementsAre(2, 3, 1, 3));

  Radio(kRadio2)->setFocus();
  QTest::keyClick(Radio(kRadio2), Qt::Key_Space);
  EXPECT_TRUE(Radio(kRadio2)->isChecked());
  EXPECT_FALSE(Radio(kRadio3)->isChecked());
  EXPECT_THAT(CalledProcedures(), ElementsAre(2, 3, 1, 3, 2));
}

TEST_F(InputEvents, AnEventOfAUnitIsNotAlsoItsWindows) {
  Load({{kOwn, -1, 1}, {kLabel, -1, 2}});
  QTest::mouseClick(Widget(kLabel), Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
  QTest::mouseClick(Widget(kOwn), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
  EXPECT_THAT(CalledProcedures(), ElementsAre(2, 1));
}

}  // namespace
}  // namespace testprogram
