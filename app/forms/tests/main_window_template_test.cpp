// The MainWindow block that the build makes: one window, eighteen units, nothing left over,
// and each unit as the program expects it.
#include <gtest/gtest.h>

#include "codepage/codepage.h"
#include "forms/main_window_template.h"
#include "runtime/windows/template_format.h"
#include "runtime/windows/type_data.h"

namespace {

using runtime::UnitRecord;

constexpr std::int32_t kProcedure = static_cast<std::int32_t>(sizeof(void (*)()));
constexpr std::int32_t kOnResolveClicked = 0, kOnAddressBoxLeftDown = 1 * kProcedure,
                       kOnMainWindowCreated = 2 * kProcedure;

struct ExpectedUnit {
  std::uint32_t id;
  std::uint32_t type;
  const char* name;  // UTF-8
  int left, top, width, height;
  std::uint32_t flags;
  const char* caption;  // UTF-8; null: none (an edit box)
  bool emptyData;
  std::vector<runtime::EventBinding> events;
};

const std::vector<ExpectedUnit> kUnits = {
    {0x06010000, runtime::unit_type::Window, "", 50, 50, 380, 348, 1, "Panlift", false, {{0, kOnMainWindowCreated}}},
    {0x160100a8, runtime::unit_type::RadioBox, "单选框1", 16, 16, 80, 24, 5, "迅雷快传", false, {}},
    {0x16010002, runtime::unit_type::EditBox, "迅雷下载编辑框", 104, 16, 232, 24, 5, nullptr, false, {}},
    {0x160100a9, runtime::unit_type::RadioBox, "单选框2", 17, 55, 80, 24, 5, "百度网盘", false, {}},
    {0x160100a7, runtime::unit_type::EditBox, "百度下载编辑框", 104, 56, 232, 24, 5, nullptr, false, {}},
    {0x160100de, runtime::unit_type::RadioBox, "单选框3", 16, 96, 88, 16, 5, "360网盘", false, {}},
    {0x160100df, runtime::unit_type::EditBox, "三六零下载编辑框", 104, 88, 232, 24, 5, nullptr, false, {}},
    {0x160100bb, runtime::unit_type::Label, "标签2", 16, 126, 72, 24, 1, "文件名称：", false, {}},
    {0x160100b8, runtime::unit_type::EditBox, "文件名称编辑框", 104, 126, 232, 24, 5, nullptr, true, {}},
    {0x160100bc, runtime::unit_type::Label, "标签3", 16, 158, 72, 24, 1, "文件扩展名：", false, {}},
    {0x160100b7, runtime::unit_type::EditBox, "文件扩展名编辑框", 104, 158, 232, 24, 5, nullptr, true, {}},
    {0x160100bd, runtime::unit_type::Label, "标签4", 21, 190, 72, 24, 1, "文件大小：", false, {}},
    {0x160100ba, runtime::unit_type::EditBox, "文件大小编辑框", 104, 190, 232, 24, 5, nullptr, true, {}},
    {0x160100be, runtime::unit_type::Label, "标签5", 16, 222, 72, 24, 1, "文件MD5值：", false, {}},
    {0x160100b9, runtime::unit_type::EditBox, "文件md5编辑框", 104, 222, 232, 24, 5, nullptr, true, {}},
    {0x160100b6, runtime::unit_type::Label, "标签1", 24, 254, 64, 24, 1, "下载地址：", false, {}},
    {0x16010070, runtime::unit_type::EditBox, "文件下载地址编辑框", 104, 254, 232, 24, 5, nullptr, false,
     {{-1, kOnAddressBoxLeftDown}}},
    {0x16010003, runtime::unit_type::Button, "按钮1", 144, 286, 64, 24, 5, "解析", false, {{0, kOnResolveClicked}}},
};

runtime::TemplateBlock ReadMainWindow() {
  runtime::TemplateReadResult read =
      runtime::ReadTemplateBlock(std::span(app::forms::kMainWindowTemplate, app::forms::kMainWindowTemplateSize));
  EXPECT_TRUE(read.ok) << read.error << " at byte " << read.errorOffset;
  return read.block;
}

std::int32_t CaptionIndex(std::uint32_t type) {
  switch (type) {
    case runtime::unit_type::Window: return runtime::window_property::Caption;
    case runtime::unit_type::Label: return runtime::label_property::Caption;
    case runtime::unit_type::Button: return runtime::button_property::Caption;
    default: return runtime::radio_box_property::Caption;
  }
}

TEST(MainWindowTemplate, OneWindowEighteenUnitsNothingLeftOver) {
  runtime::TemplateBlock block = ReadMainWindow();  // the reader refuses bytes left over
  ASSERT_EQ(block.windows.size(), 1u);
  EXPECT_EQ(block.windows[0].id, app::forms::kMainWindowId);
  EXPECT_EQ(block.windows[0].form.header, (std::array<std::uint32_t, 2>{0x00B9B430, 0x19010004}));
  EXPECT_EQ(block.windows[0].form.units.size(), 18u);
  EXPECT_EQ(app::forms::kMainWindowTemplateSize, 3452u);
}

TEST(MainWindowTemplate, EveryUnitAsTheProgramExpectsIt) {
  runtime::TemplateBlock block = ReadMainWindow();
  ASSERT_EQ(block.windows.size(), 1u);
  const std::vector<UnitRecord>& units = block.windows[0].form.units;
  ASSERT_EQ(units.size(), kUnits.size());
  for (std::size_t i = 0; i < kUnits.size(); ++i) {
    const ExpectedUnit& want = kUnits[i];
    const UnitRecord& unit = units[i];
    SCOPED_TRACE(want.name);
    EXPECT_EQ(unit.id, want.id);
    EXPECT_EQ(unit.typeWord, want.type);
    EXPECT_EQ(unit.name, codepage::Utf8ToGbk(want.name));
    EXPECT_EQ(std::tie(unit.left, unit.top, unit.width, unit.height),
              std::tie(want.left, want.top, want.width, want.height));
    EXPECT_EQ(unit.flags, (std::array<std::uint32_t, 3>{0, want.flags, 0}));
    EXPECT_EQ(unit.events, want.events);
    EXPECT_EQ(unit.parentId, 0u);
    EXPECT_TRUE(unit.children.empty());
    EXPECT_TRUE(unit.mousePointer.empty());
    EXPECT_EQ(unit.typeData.empty(), want.emptyData);

    const runtime::UnitTypeInfo* type = runtime::FindUnitType(unit.typeWord);
    ASSERT_NE(type, nullptr);
    runtime::TypeDataResult data = runtime::DecodeTypeData(*type, unit.typeData);
    ASSERT_TRUE(data.ok) << data.error;
    if (want.caption) {
      EXPECT_EQ(data.data.own[CaptionIndex(unit.typeWord)].bytes, codepage::Utf8ToGbk(want.caption));
    }
    if (unit.typeWord == runtime::unit_type::EditBox) {
      EXPECT_TRUE(data.data.own[runtime::edit_box_property::Content].bytes.empty());
    }
  }
}

TEST(MainWindowTemplate, OnlyTheFirstRadioBoxStartsChecked) {
  runtime::TemplateBlock block = ReadMainWindow();
  ASSERT_EQ(block.windows.size(), 1u);
  for (const UnitRecord& unit : block.windows[0].form.units) {
    if (unit.typeWord != runtime::unit_type::RadioBox) continue;
    ASSERT_GE(unit.typeData.size(), 36u);
    EXPECT_EQ(unit.typeData[32], unit.id == 0x160100a8 ? 1 : 0) << std::hex << unit.id;
  }
}

}  // namespace
