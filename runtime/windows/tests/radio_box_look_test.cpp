// A radio box's looks as the program writes them (the push button's look, the flat look,
// the text on the left, the text's alignment), seen in what the box paints and where it
// takes a click.
#include <QImage>
#include <QRadioButton>
#include <QTest>

#include "runtime/windows/window_layer.h"
#include "test_program.h"

namespace testprogram {
namespace {

using testing::ElementsAre;

constexpr std::int32_t kPushLike = 9, kFlat = 10, kLeftText = 12, kHorizontal = 13, kVertical = 14, kChecked = 18;
constexpr int kWidth = 200, kHeight = 60;

class RadioBoxLook : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Install(StandardBlock({{kRadio2, 0, 1}}));
    runtime::LoadStartupWindow(kWindow);
    WriteNumber(kRadio2, runtime::common_property::Width, kWidth);
    WriteNumber(kRadio2, runtime::common_property::Height, kHeight);
  }

  static QImage Picture() { return Widget(kRadio2)->grab().toImage(); }

  // The painted part of the box: every pixel that is not its background.
  static QRect Ink() {
    const QImage image = Picture();
    const QRgb background = Widget(kRadio2)->palette().color(QPalette::Window).rgb();
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) != background) ink |= QRect(x, y, 1, 1);
      }
    }
    return ink;
  }

  // Whether anything is painted at the right edge, half-way down: a button's frame.
  static bool FramedAtTheEdge() {
    const QImage image = Picture();
    const QRgb background = Widget(kRadio2)->palette().color(QPalette::Window).rgb();
    for (int x = kWidth - 3; x < kWidth; ++x) {
      if (image.pixel(x, kHeight / 2) != background) return true;
    }
    return false;
  }
};

TEST_F(RadioBoxLook, TheTextStandsWhereTheAlignmentSays) {
  WriteNumber(kRadio2, kHorizontal, 0);
  const int left = Ink().right();
  WriteNumber(kRadio2, kHorizontal, 1);
  const int centre = Ink().right();
  WriteNumber(kRadio2, kHorizontal, 2);
  const int right = Ink().right();
  EXPECT_LT(left, kWidth / 2);
  EXPECT_LT(left, centre);
  EXPECT_LT(centre, right);
  EXPECT_GE(right, kWidth - 8);

  WriteNumber(kRadio2, kVertical, 0);
  const QRect top = Ink();
  WriteNumber(kRadio2, kVertical, 1);
  const QRect middle = Ink();
  WriteNumber(kRadio2, kVertical, 2);
  const QRect bottom = Ink();
  EXPECT_LT(top.bottom(), kHeight / 2);
  EXPECT_LT(top.top(), middle.top());
  EXPECT_LT(middle.top(), bottom.top());
  EXPECT_GT(bottom.top(), kHeight / 2);

  WriteNumber(kRadio2, kHorizontal, 7);  // beyond the range: right, as 2
  EXPECT_EQ(Ink().right(), right);
}

TEST_F(RadioBoxLook, TextOnTheLeftPutsTheCircleAtTheRight) {
  WriteNumber(kRadio2, kHorizontal, 0);
  const int circleLeft = Ink().right();
  WriteNumber(kRadio2, kLeftText, 1);
  EXPECT_GE(Ink().right(), kWidth - 3) << "the circle at the right edge";
  EXPECT_LE(Ink().left(), 2) << "the text at the left edge";
  WriteNumber(kRadio2, kLeftText, 2);  // only 1 turns it on
  EXPECT_EQ(Ink().right(), circleLeft);
}

TEST_F(RadioBoxLook, PushButtonAndFlatLooks) {
  EXPECT_FALSE(FramedAtTheEdge());
  WriteNumber(kRadio2, kPushLike, 1);
  EXPECT_EQ(ReadNumber(kRadio2, kPushLike), 1);
  EXPECT_TRUE(FramedAtTheEdge()) << "a button's frame";
  const QImage raised = Picture();
  WriteNumber(kRadio2, kChecked, 1);
  EXPECT_NE(Picture(), raised) << "a checked push button looks pressed";

  WriteNumber(kRadio2, kFlat, 1);
  EXPECT_TRUE(FramedAtTheEdge()) << "a flat push button shows its frame while checked";
  WriteNumber(kRadio2, kChecked, 0);
  EXPECT_FALSE(FramedAtTheEdge()) << "and none while not";

  WriteNumber(kRadio2, kPushLike, 0);
  const QImage flat = Picture();
  WriteNumber(kRadio2, kFlat, 0);
  EXPECT_NE(Picture(), flat) << "the flat circle is not the style's";
}

TEST_F(RadioBoxLook, AClickAnywhereOnTheBoxSelectsIt) {
  WriteNumber(kRadio2, kHorizontal, 2);
  QTest::mouseClick(Widget(kRadio2), Qt::LeftButton, Qt::NoModifier, QPoint(kWidth - 10, kHeight / 2));
  EXPECT_TRUE(qobject_cast<QRadioButton*>(Widget(kRadio2))->isChecked());
  EXPECT_FALSE(qobject_cast<QRadioButton*>(Widget(kRadio1))->isChecked());
  EXPECT_THAT(CalledProcedures(), ElementsAre(1));
}

}  // namespace
}  // namespace testprogram
