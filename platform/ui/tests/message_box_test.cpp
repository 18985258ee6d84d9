// The message box on a headless application: caption and text on standard error in UTF-8.
#include "ui/message_box.h"

#include <gtest/gtest.h>

#include <string>

#include "stderr_capture.h"
#include "ui/application.h"

namespace {

struct HeadlessCase {
  const char* name;
  const char* caption;  // GBK, or null
  const char* text;     // GBK, or null
  std::string expected;
};

class HeadlessMessageBox : public ::testing::TestWithParam<HeadlessCase> {};

TEST_P(HeadlessMessageBox, WritesCaptionAndTextToStandardError) {
  ASSERT_TRUE(ui::IsHeadless());
  const HeadlessCase& c = GetParam();
  ui::testing::StderrCapture capture;
  int answer = MessageBoxA(nullptr, c.text, c.caption, MB_ICONHAND);
  EXPECT_EQ(capture.Finish(), c.expected);
  EXPECT_EQ(answer, IDOK);
}

// The runtime-error box, in GBK as the runtime builds it: "错误" over "运行时出错!" with the
// error code and message lines.
constexpr const char* kErrorCaption = "\xB4\xED\xCE\xF3";
constexpr const char* kErrorText =
    "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n"
    "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA" "1\r\n\r\n"
    "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA"
    "\xCA\xFD\xD7\xE9\xB3\xC9\xD4\xB1\xD2\xFD\xD3\xC3\xCF\xC2\xB1\xEA\xB3\xAC\xB3\xF6"
    "\xB6\xA8\xD2\xE5\xB7\xB6\xCE\xA7\r\n";

INSTANTIATE_TEST_SUITE_P(
    Texts, HeadlessMessageBox,
    ::testing::Values(
        HeadlessCase{"RuntimeError", kErrorCaption, kErrorText,
                     "错误\n运行时出错!\r\n\r\n错误代码：1\r\n\r\n"
                     "错误信息：数组成员引用下标超出定义范围\r\n\n"},
        HeadlessCase{"AsciiKeptAsItIs", "Note", "a\tb\r\nc", "Note\na\tb\r\nc\n"},
        // 0x80 is the euro sign in code page 936; a lone lead byte at the end is "?".
        HeadlessCase{"CodePageEdges", "\x80", "x\x81", "\xE2\x82\xAC\nx?\n"},
        HeadlessCase{"EmptyText", kErrorCaption, "", "错误\n\n"},
        HeadlessCase{"NullTextIsEmpty", "Note", nullptr, "Note\n\n"},
        HeadlessCase{"NullCaptionIsError", nullptr, "x", "Error\nx\n"}),
    [](const ::testing::TestParamInfo<HeadlessCase>& info) { return std::string(info.param.name); });

}  // namespace
