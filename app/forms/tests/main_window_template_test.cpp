// The MainWindow block that the build makes: one window, eighteen units, nothing left over,
// and each unit as the program expects it.
#include <gtest/gtest.h>

#include "app/forms/main_window_template.h"
#include "codepage/codepage.h"
#include "expected_main_window.h"
#include "runtime/windows/template_format.h"
#include "runtime/windows/type_data.h"

namespace {

using mainwindow::ExpectedUnit;
using mainwindow::kUnits;
using runtime::UnitRecord;

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
  EXPECT_EQ(block.windows[0].form.firstText, "");
  EXPECT_EQ(block.windows[0].form.secondText, "");
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
    EXPECT_TRUE(unit.Visible());
    EXPECT_FALSE(unit.Disabled());
    EXPECT_EQ(unit.events, mainwindow::BindingsOf(want.id));
    EXPECT_EQ(unit.secondText, "");
    EXPECT_EQ(unit.tag, "");
    EXPECT_EQ(unit.parentId, 0u);
    EXPECT_TRUE(unit.children.empty());
    EXPECT_TRUE(unit.mousePointer.empty());

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
