// ReadProperty and WriteProperty: common properties from the template and from the live
// widget, the own properties of each type, value ownership, and the errors.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "runtime/frame.h"
#include "runtime/windows/window_layer.h"
#include "test_program.h"

namespace testprogram {
namespace {

using runtime::common_property::Disabled;
using runtime::common_property::Height;
using runtime::common_property::Left;
using runtime::common_property::MousePointer;
using runtime::common_property::Tag;
using runtime::common_property::Top;
using runtime::common_property::Visible;
using runtime::common_property::Width;
using testing::HasSubstr;

constexpr std::int32_t kContent = 8, kChecked = 18;

class PropertyAccess : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    runtime::TemplateBlock block = StandardBlock();
    block.windows[0].form.units[1].tag = "stored tag";
    block.windows[0].form.units[1].mousePointer = "\x01\x02";
    Install(block);
  }
};

TEST_F(PropertyAccess, CommonPropertiesBeforeCreationComeFromTheTemplate) {
  EXPECT_EQ(ReadNumber(kEdit, Left), 10);
  EXPECT_EQ(ReadNumber(kEdit, Top), 10);
  EXPECT_EQ(ReadNumber(kEdit, Width), 200);
  EXPECT_EQ(ReadNumber(kEdit, Height), 24);
  EXPECT_EQ(ReadNumber(kOwn, Width), 320);
  EXPECT_EQ(ReadNumber(0, Width), 320) << "unit id 0 is the window's own unit";
  EXPECT_EQ(ReadText(kEdit, Tag), "stored tag");
  EXPECT_EQ(ReadNumber(kEdit, Visible), 1);
  EXPECT_EQ(ReadNumber(kEdit, Disabled), 0);
  auto* pointer = reinterpret_cast<void*>(static_cast<std::uintptr_t>(runtime::ReadProperty(kWindow, kEdit, MousePointer, -1)));
  ASSERT_NE(pointer, nullptr);
  EXPECT_EQ(runtime::ByteSetLength(pointer), 2);
  EXPECT_EQ(runtime::ByteSetBytes(pointer)[1], 2);
  runtime::FreeBlock(pointer);
}

TEST_F(PropertyAccess, WritesBeforeCreationShapeTheWindowToCome) {
  WriteNumber(kEdit, Left, 30);
  WriteNumber(kEdit, Disabled, 1);
  WriteNumber(kOtherEdit, Visible, 0);
  WriteText(kEdit, Tag, "new tag");
  runtime::LoadStartupWindow(kWindow);
  EXPECT_EQ(Widget(kEdit)->geometry(), QRect(30, 10, 200, 24));
  EXPECT_FALSE(Widget(kEdit)->isEnabled());
  EXPECT_TRUE(Widget(kOtherEdit)->isHidden());
  EXPECT_EQ(ReadText(kEdit, Tag), "new tag");
}

TEST_F(PropertyAccess, CommonPropertiesOfALiveUnitComeFromItsWidget) {
  runtime::LoadStartupWindow(kWindow);
  Widget(kEdit)->setGeometry(12, 14, 150, 30);
  EXPECT_EQ(ReadNumber(kEdit, Left), 12);
  EXPECT_EQ(ReadNumber(kEdit, Top), 14);
  EXPECT_EQ(ReadNumber(kEdit, Width), 150);
  EXPECT_EQ(ReadNumber(kEdit, Height), 30);

  WriteNumber(kEdit, Width, 90);
  WriteNumber(kEdit, Top, 50);
  EXPECT_EQ(Widget(kEdit)->geometry(), QRect(12, 50, 90, 30));
  WriteNumber(kLabel, Visible, 0);
  EXPECT_TRUE(Widget(kLabel)->isHidden());
  EXPECT_EQ(ReadNumber(kLabel, Visible), 0);
  WriteNumber(kButton, Disabled, 7);
  EXPECT_FALSE(Widget(kButton)->isEnabled());
  EXPECT_EQ(ReadNumber(kButton, Disabled), 1);
  WriteNumber(kOwn, Left, 60);
  EXPECT_EQ(ReadNumber(kOwn, Left), 60);
  WriteNumber(kOwn, Width, 300);
  WriteNumber(kOwn, Height, 200);
  EXPECT_EQ(ReadNumber(kOwn, Width), 300) << "the window's size reads as it was written";
  EXPECT_EQ(ReadNumber(kOwn, Height), 200);
  EXPECT_EQ(Widget(kOwn)->size(), QSize(300, 200));
  EXPECT_EQ(ReadNumber(kEdit, Left), 12) << "the template keeps its values";
  EXPECT_EQ(Slot(kEdit).record.left, 10);
}

TEST_F(PropertyAccess, TextsAreCopiedBothWays) {
  runtime::LoadStartupWindow(kWindow);
  char* written = static_cast<char*>(runtime::AllocBlock(6));
  std::memcpy(written, "\xC4\xDA\xC8\xDD", 5);  // 内容 in GBK
  WriteText(kEdit, kContent, written);
  runtime::FreeBlock(written);  // the caller's own, freed after the write
  EXPECT_EQ(qobject_cast<QLineEdit*>(Widget(kEdit))->text(), QString::fromUtf8("内容"));

  auto read = [] {
    return reinterpret_cast<char*>(static_cast<std::uintptr_t>(runtime::ReadProperty(kWindow, kEdit, kContent, -1)));
  };
  char* first = read();
  char* second = read();
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first, second) << "each read is a new Text";
  EXPECT_STREQ(first, "\xC4\xDA\xC8\xDD");
  runtime::FreeBlock(first);
  runtime::FreeBlock(second);

  WriteText(kEdit, kContent, nullptr);
  EXPECT_EQ(read(), nullptr) << "an empty content reads as the empty text";
}

TEST_F(PropertyAccess, OwnPropertiesOfEveryType) {
  runtime::LoadStartupWindow(kWindow);
  WriteText(kOwn, 8, "\xB1\xEA\xCC\xE2");  // 标题
  EXPECT_EQ(Widget(kOwn)->windowTitle(), QString::fromUtf8("标题"));
  WriteText(kLabel, 8, "<b>x</b>");
  EXPECT_EQ(qobject_cast<QLabel*>(Widget(kLabel))->text(), "<b>x</b>");
  EXPECT_EQ(qobject_cast<QLabel*>(Widget(kLabel))->textFormat(), Qt::PlainText) << "a caption is never markup";
  WriteText(kButton, 10, "ok");
  EXPECT_EQ(qobject_cast<QPushButton*>(Widget(kButton))->text(), "ok");
  EXPECT_EQ(ReadText(kButton, 10), "ok");
  WriteText(kRadio2, 11, "two!");
  EXPECT_EQ(qobject_cast<QRadioButton*>(Widget(kRadio2))->text(), "two!");

  struct Clamp {
    std::uint32_t unit;
    std::int32_t property, written, read;
  };
  const Clamp clamps[] = {
      {kEdit, 9, 9, 5},   {kEdit, 9, -3, 0},  {kEdit, 14, -5, 0}, {kEdit, 16, 4, 3},
      {kEdit, 18, 12, 11}, {kEdit, 20, -1, 0}, {kRadio1, 13, 5, 2}, {kRadio1, 14, -1, 0},
      {kRadio1, 13, 1, 1}, {kEdit, 22, -70, -70},
  };
  for (const Clamp& c : clamps) {
    WriteNumber(c.unit, c.property, c.written);
    EXPECT_EQ(ReadNumber(c.unit, c.property), c.read) << std::hex << c.unit << std::dec << " property " << c.property;
  }
}

TEST_F(PropertyAccess, RadioBoxCheckedWriteChangesOnlyThatBox) {
  runtime::LoadStartupWindow(kWindow);
  EXPECT_EQ(ReadNumber(kRadio1, kChecked), 1);
  WriteNumber(kRadio2, kChecked, 1);
  EXPECT_EQ(ReadNumber(kRadio1, kChecked), 1);
  EXPECT_EQ(ReadNumber(kRadio2, kChecked), 1);
  WriteNumber(kRadio1, kChecked, 2);  // anything but 1 unchecks
  EXPECT_EQ(ReadNumber(kRadio1, kChecked), 0);
  EXPECT_EQ(ReadNumber(kRadio2, kChecked), 1);
  qobject_cast<QRadioButton*>(Widget(kRadio3))->setChecked(true);
  EXPECT_EQ(ReadNumber(kRadio3, kChecked), 1) << "read from the control";
}

using PropertyAccessDeath = PropertyAccess;

TEST_F(PropertyAccessDeath, Errors) {
  EXPECT_EXIT(ReadNumber(kEdit, kContent), testing::ExitedWithCode(255), HasSubstr(ErrorBox("指定窗口尚未载入")));
  EXPECT_EXIT(WriteNumber(kRadio1, kChecked, 1), testing::ExitedWithCode(255), HasSubstr(ErrorBox("指定窗口尚未载入")));
  EXPECT_EXIT(runtime::ReadProperty(0x52019999, kEdit, 0, -1), testing::ExitedWithCode(255),
              HasSubstr(ErrorBox("未载入欲访问窗口组件所在的窗口")));
  EXPECT_EXIT(runtime::WriteProperty(0x52019999, kEdit, 0, -1, 0, 0), testing::ExitedWithCode(255),
              HasSubstr(ErrorBox("未载入欲访问窗口组件所在的窗口")));
  EXPECT_EXIT(runtime::ReadProperty(kWindow, 0x16019999, 0, -1), testing::ExitedWithCode(255),
              HasSubstr(ErrorBox("指定窗口或窗口组件不存在或尚未载入")));
  EXPECT_EXIT(runtime::ReadProperty(kWindow, kButton, 14, -1), testing::ExitedWithCode(255),
              HasSubstr(ErrorBox("欲访问的窗口组件属性不存在")));
  EXPECT_EXIT(runtime::ReadProperty(kWindow, kButton, -1, -1), testing::ExitedWithCode(255),
              HasSubstr(ErrorBox("欲访问的窗口组件属性不存在")));
}

TEST_F(PropertyAccessDeath, AfterTheWindowHasGoneOwnPropertiesAreFatalAgain) {
  runtime::LoadStartupWindow(kWindow);
  Widget(kOwn)->close();
  EXPECT_EQ(ReadNumber(kEdit, Left), 10) << "the template's again";
  EXPECT_EXIT(ReadNumber(kEdit, kContent), testing::ExitedWithCode(255), HasSubstr(ErrorBox("指定窗口尚未载入")));
}

}  // namespace
}  // namespace testprogram
