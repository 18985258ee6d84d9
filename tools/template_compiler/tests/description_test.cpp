// The description language: what it compiles to, its errors, and dump -> compile round trips.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "description.h"
#include "runtime/windows/font_data.h"
#include "runtime/windows/type_data.h"

namespace template_compiler {
namespace {

using runtime::TemplateBlock;
using runtime::UnitRecord;
using testing::HasSubstr;

TemplateBlock Parse(const std::string& text) { return ParseDescription(text, "test.form"); }

runtime::TypeData Decode(const UnitRecord& unit) {
  const runtime::UnitTypeInfo* type = runtime::FindUnitType(unit.typeWord);
  EXPECT_NE(type, nullptr);
  runtime::TypeDataResult result = runtime::DecodeTypeData(*type, unit.typeData);
  EXPECT_TRUE(result.ok) << result.error;
  return result.data;
}

constexpr const char* kSmallForm = R"(# a window with one of each
procedures First Second Third
window 0x52010002 Small
  header 0x00B9B430 0x19010004
  unit 0x06010000 window ""
    position 10 20 300 200
    flags 0 1 0
    on 0 Third
    caption "小窗口"
  unit 0x16010001 RadioBox "单选框1"   # checked at start
    position 8 8 80 24
    flags 0 5 0
    checked true
    caption "选我"
  unit 0x16010002 EditBox "编辑框"
    position 8 40 120 24
    flags 0 5 0
    on -1 Second
    on -9 none
    on -11 16
  unit 0x16010003 EditBox "空的"
    data empty
  unit 0x16010004 Button "按钮"
    on 0 First
    caption "解析"
    tag "a\x81\x40\"q\""
)";

TEST(Description, CompilesUnitsFieldsAndHandlers) {
  TemplateBlock block = Parse(kSmallForm);
  ASSERT_EQ(block.windows.size(), 1u);
  const runtime::WindowTemplate& form = block.windows[0].form;
  EXPECT_EQ(block.windows[0].id, 0x52010002u);
  EXPECT_EQ(form.header[0], 0x00B9B430u);
  ASSERT_EQ(form.units.size(), 5u);

  const UnitRecord& window = form.units[0];
  EXPECT_EQ(window.typeWord, runtime::unit_type::Window);
  EXPECT_EQ(std::tie(window.left, window.top, window.width, window.height), std::make_tuple(10, 20, 300, 200));
  EXPECT_EQ(window.flags[1], 1u);
  EXPECT_EQ(window.events, (std::vector<runtime::EventBinding>{{0, 2 * ProcedureSize()}}));
  EXPECT_EQ(Decode(window).own[runtime::window_property::Caption].bytes, "\xD0\xA1\xB4\xB0\xBF\xDA");  // 小窗口

  const UnitRecord& radio = form.units[1];
  EXPECT_EQ(radio.name, "\xB5\xA5\xD1\xA1\xBF\xF2" "1");  // 单选框1 in GBK
  ASSERT_GE(radio.typeData.size(), 36u);
  EXPECT_EQ(radio.typeData[32], 1) << "the checked word lies at byte 32";
  EXPECT_EQ(radio.typeData.substr(radio.typeData.size() - 8), std::string("\x04\0\0\0\xD1\xA1\xCE\xD2", 8))
      << "the caption is the last field";

  const UnitRecord& edit = form.units[2];
  EXPECT_EQ(edit.events, (std::vector<runtime::EventBinding>{{-1, ProcedureSize()}, {-9, -1}, {-11, 16}}));
  EXPECT_TRUE(form.units[3].typeData.empty());
  EXPECT_EQ(form.units[4].events, (std::vector<runtime::EventBinding>{{0, 0}}));
  EXPECT_EQ(form.units[4].tag, "a\x81\x40\"q\"") << "\\x bytes are taken as they are";
}

TEST(Description, ValuesOfEveryStorage) {
  TemplateBlock block = Parse(R"(
window 1
  unit 2 window ""
    backgroundColour 0x00FF00
    alwaysOnTop true
  unit 3 EditBox ""
    maxLength -5
    textColour default
    passwordChar "#"
    font "WenQuanYi Micro Hei" 12 700 italic strikeout
    dataSource [01 0a FF]
)");
  runtime::TypeData window = Decode(block.windows[0].form.units[0]);
  EXPECT_EQ(window.own[runtime::window_property::BackgroundColour].number, 0x00FF00);
  EXPECT_EQ(window.own[runtime::window_property::AlwaysOnTop].number, 1);
  runtime::TypeData edit = Decode(block.windows[0].form.units[1]);
  namespace p = runtime::edit_box_property;
  EXPECT_EQ(edit.own[p::MaxLength].number, -5) << "the template keeps what it is given";
  EXPECT_EQ(edit.own[p::TextColour].number, runtime::kDefaultColour);
  EXPECT_EQ(edit.own[p::PasswordChar].bytes, "#");
  EXPECT_EQ(runtime::DecodeFontData(edit.own[p::Font].bytes),
            (runtime::FontData{12, 700, runtime::FontData::Italic | runtime::FontData::StrikeOut, "WenQuanYi Micro Hei"}));
  EXPECT_EQ(edit.own[19].bytes, std::string("\x01\x0A\xFF"));
}

struct BadDescription {
  const char* what;
  const char* text;
  const char* expected;  // "test.form:<line>: ..." or a part of it
};

class DescriptionErrors : public testing::TestWithParam<BadDescription> {};

TEST_P(DescriptionErrors, NameTheLineAndTheFault) {
  try {
    Parse(GetParam().text);
    FAIL() << "no error for: " << GetParam().text;
  } catch (const CompileError& e) {
    EXPECT_THAT(e.what(), HasSubstr(GetParam().expected));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, DescriptionErrors,
    testing::Values(
        BadDescription{"unknown keyword", "window 1\n unit 2 window \"\"\n colour 3\n", "test.form:3: unknown window property 'colour'"},
        BadDescription{"field outside a window", "position 1 2 3 4\n", "test.form:1: 'position' outside a window"},
        BadDescription{"field before a unit", "window 1\n  flags 0 1 0\n", "test.form:2: 'flags' before the first unit"},
        BadDescription{"unknown type", "window 1\n unit 2 Slider \"\"\n", "test.form:2: unknown unit type 'Slider'"},
        BadDescription{"first unit not the window", "window 1\n unit 2 Label \"\"\n", "test.form:2: the first unit of a window"},
        BadDescription{"unit id twice", "window 1\n unit 2 window \"\"\n unit 3 Label \"\"\n unit 3 Label \"\"\n",
                       "test.form:4: unit id 3 given twice"},
        BadDescription{"window id twice", "window 1\nwindow 0x1\n", "test.form:2: window id 0x1 given twice"},
        BadDescription{"property twice", "window 1\n unit 2 window \"\"\n caption \"a\"\n caption \"b\"\n",
                       "test.form:4: 'caption' given twice"},
        BadDescription{"open text", "window 1\n unit 2 window \"\n", "test.form:2: text without its closing quote"},
        BadDescription{"bad escape", "window 1\n unit 2 window \"\\q\"\n", "test.form:2: unknown escape \\q"},
        BadDescription{"bad number", "window 1\n unit 2 window \"\"\n position 1 2 x 4\n", "test.form:3: width must be"},
        BadDescription{"number too large", "window 0x100000000\n", "test.form:1: window id must be"},
        BadDescription{"wrong count", "window 1\n unit 2 window \"\"\n position 1 2 3\n", "test.form:3: usage: position"},
        BadDescription{"unknown procedure", "procedures A\nwindow 1\n unit 2 window \"\"\n\n on 0 B\n",
                       "test.form:5: no procedure 'B'"},
        BadDescription{"procedure twice", "procedures A B A\n", "test.form:1: procedure A listed twice"},
        BadDescription{"offset between procedures", "window 1\n unit 2 window \"\"\n on 0 3\n", "test.form:3: a handler offset is a multiple"},
        BadDescription{"event twice", "procedures A\nwindow 1\n unit 2 window \"\"\n on 0 A\n on 0 none\n",
                       "test.form:5: event 0 bound twice"},
        BadDescription{"not in GBK", "window 1\n unit 2 window \"\"\n caption \"\xF0\x9F\x98\x80\"\n",
                       "test.form:3: \"\xF0\x9F\x98\x80\" cannot be written in GBK"},
        BadDescription{"not UTF-8", "window 1\n unit 2 window \"\"\n caption \"\xC3(\"\n", "test.form:3: the text is not valid UTF-8"},
        BadDescription{"NUL in a name", "window 1\n unit 2 window \"a\\x00b\"\n", "test.form:2: unit name cannot hold a NUL"},
        BadDescription{"data after properties", "window 1\n unit 2 window \"\"\n caption \"a\"\n data empty\n",
                       "test.form:4: 'data' replaces the own properties"},
        BadDescription{"property after data", "window 1\n unit 2 window \"\"\n data empty\n caption \"a\"\n",
                       "test.form:4: own properties cannot follow 'data'"},
        BadDescription{"unstored property", "window 1\n unit 2 window \"\"\n unit 3 EditBox \"\"\n selectedText \"x\"\n",
                       "test.form:4: EditBox does not store 'selectedText'"},
        BadDescription{"odd hex", "window 1\n unit 2 window \"\"\n pointer [0A1]\n", "test.form:3: odd number of hex digits"},
        BadDescription{"reserved length", "window 1\n unit 2 window \"\"\n reserved [00]\n", "test.form:3: a reserved block has exactly 20 bytes"},
        BadDescription{"font style", "window 1\n unit 2 window \"\"\n unit 3 Label \"\"\n font \"a\" 9 400 bold\n",
                       "test.form:4: unknown font style 'bold'"},
        BadDescription{"unknown type word without data", "window 1\n unit 2 window \"\"\n unit 3 0x00010007 \"\"\n",
                       "test.form:3: a unit of an unknown type needs"},
        BadDescription{"text for a number", "window 1\n unit 2 window \"\"\n border \"thin\"\n", "test.form:3: border must be"}),
    [](const testing::TestParamInfo<BadDescription>& info) {
      std::string name = info.param.what;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

// Everything the language can say, so that the dump of its block must say it all again.
constexpr const char* kEverything = R"(
procedures A B
window 0x52010003
  header 1 0xFFFFFFFF
  texts "first" "\x81"
  unit 0x06010000 window "w"
    position -5 6 700 500
    flags 7 1 9
    reserved [01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 14]
    reserved2 [FF 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01]
    slots 3 4
    second "二"
    tag "tab\there \\ \"q\" \x80\xFF\x81"
    pointer [00 01 02]
    children 0x16010001
    on 0 B
    on -12 A
    caption "标题"
    icon [AA BB]
    data-reserved @RESERVED@
  unit 0x16010001 Label "标签"
    parent 0x06010000
    caption "文字"
    textColour 0x0000FF
    horizontalAlign 2
    font "" 0 0 underline
  unit 0x16010002 EditBox "e"
    content "内容"
    inputMode 2
    passwordChar ""
    adjusterUpper -1
  unit 0x16010003 Button "b"
    kind 1
    picture [00]
  unit 0x16010004 RadioBox "r"
    checked 2
    pushLike true
  unit 0x16010005 EditBox "raw"
    data raw [02 00 00 00 FF]
  unit 0x16010006 0x00010007 "unknown"
    data raw [01 02]
  unit 0x26010001 window "short"
    short-fields [01 02 03 04 05 06 07 08 09 0A 0B 0C]
    short-text "s"
    handler A
    data raw [09]
)";

// The window's reserved data, with a byte set so that the dump has to show it.
std::string EverythingDescription() {
  std::string text = kEverything;
  std::size_t size = runtime::DefaultTypeData(*runtime::FindUnitType(runtime::unit_type::Window)).reserved.size();
  std::string bytes = "[01";
  for (std::size_t i = 1; i < size; ++i) bytes += " 00";
  text.replace(text.find("@RESERVED@"), 10, bytes + "]");
  return text;
}

TEST(Description, DumpCompilesBackToTheSameBlock) {
  TemplateBlock block = Parse(EverythingDescription());
  std::string dumped = DescribeBlock(block);
  TemplateBlock again;
  ASSERT_NO_THROW(again = Parse(dumped)) << dumped;
  EXPECT_EQ(again, block) << dumped;
  EXPECT_EQ(runtime::WriteTemplateBlock(again), runtime::WriteTemplateBlock(block));
}

TEST(Description, DumpShowsDamagedTypeDataAsRawBytes) {
  TemplateBlock block = Parse("window 1\n unit 2 window \"\"\n unit 3 Label \"\"\n data raw [02 00 00 00 01]\n");
  std::string dumped = DescribeBlock(block);
  EXPECT_THAT(dumped, HasSubstr("# Label data at byte 4"));
  EXPECT_THAT(dumped, HasSubstr("data raw [02 00 00 00 01]"));
  EXPECT_EQ(Parse(dumped), block);
}

}  // namespace
}  // namespace template_compiler
