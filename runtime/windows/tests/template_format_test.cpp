// The template block format: what is written reads back equal, and a damaged block is
// refused without a read outside it (each case reads from a heap copy of exactly its size,
// so that the sanitizer build catches any stray read).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "runtime/windows/template_format.h"
#include "runtime/windows/type_data.h"
#include "test_program.h"

namespace {

using runtime::ReadTemplateBlock;
using runtime::TemplateBlock;
using runtime::TemplateReadResult;
using runtime::UnitRecord;

TemplateReadResult ReadExactCopy(const std::vector<std::uint8_t>& bytes) {
  std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[bytes.size()]);
  if (!bytes.empty()) std::memcpy(copy.get(), bytes.data(), bytes.size());
  return ReadTemplateBlock(std::span<const std::uint8_t>(copy.get(), bytes.size()));
}

// One window with its own unit and one label named "ab": a layout small enough to patch by hand.
TemplateBlock SmallBlock() {
  TemplateBlock block;
  runtime::WindowTemplate form;
  form.units.push_back(testprogram::MakeUnit(0x06010000, runtime::unit_type::Window, 1, 2, 3, 4));
  UnitRecord label = testprogram::MakeUnit(0x16010001, runtime::unit_type::Label, 5, 6, 7, 8);
  label.name = "ab";
  label.events = {{-1, 0}};
  form.units.push_back(label);
  block.windows.push_back({0x52010001, form});
  return block;
}

// Byte offsets in SmallBlock's bytes.
constexpr std::size_t kTableLength = 0, kWindowId = 4, kFirstText = 20, kUnitCount = 28, kAreaLength = 32,
                      kSecondUnitId = 40, kFirstOffset = 44, kSecondOffset = 48, kFirstSize = 52,
                      kFirstChildCount = 56 + 54, kFirstPointerData = kFirstChildCount + 4,
                      kFirstEventCount = kFirstPointerData + 4 + 1 + 12;

std::uint32_t WordAt(const std::vector<std::uint8_t>& b, std::size_t at) {
  std::uint32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

void SetWord(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) { std::memcpy(b.data() + at, &v, 4); }

TEST(TemplateFormat, ReadsBackWhatWasWritten) {
  TemplateBlock block = testprogram::StandardBlock({{testprogram::kButton, 0, 2}, {testprogram::kEdit, -1, 1}});
  UnitRecord special;
  special.id = 0x26010001;
  special.name = "item";
  special.shortText = "x";
  special.shortHandler = 8;
  special.typeData = "rest";
  block.windows[0].form.units.push_back(special);
  block.windows[0].form.units[1].children = {7, 8};
  block.windows[0].form.units[1].tag = "tag";
  block.windows[0].form.units[1].mousePointer = std::string("\0\1", 2);
  block.windows.push_back({0x52010002, block.windows[0].form});

  TemplateReadResult read = ReadExactCopy(runtime::WriteTemplateBlock(block));
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.block, block);
}

TEST(TemplateFormat, TheSmallLayoutIsWhereTheTestsPatchIt) {
  std::vector<std::uint8_t> bytes = runtime::WriteTemplateBlock(SmallBlock());
  EXPECT_EQ(WordAt(bytes, kTableLength), 8u);
  EXPECT_EQ(WordAt(bytes, kWindowId), 0x52010001u);
  EXPECT_EQ(WordAt(bytes, kUnitCount), 2u);
  EXPECT_EQ(WordAt(bytes, kAreaLength), bytes.size() - 36);
  EXPECT_EQ(WordAt(bytes, kSecondUnitId), 0x16010001u);
  EXPECT_EQ(WordAt(bytes, kFirstOffset), 0u);
  EXPECT_EQ(WordAt(bytes, kSecondOffset), 4 + WordAt(bytes, kFirstSize));
  EXPECT_EQ(WordAt(bytes, kFirstChildCount), 0u);
  EXPECT_EQ(WordAt(bytes, kFirstEventCount), 0u);
}

TEST(TemplateFormat, EveryTruncationIsRefused) {
  for (const TemplateBlock& block : {SmallBlock(), testprogram::StandardBlock({{testprogram::kButton, 0, 1}})}) {
    std::vector<std::uint8_t> bytes = runtime::WriteTemplateBlock(block);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
      std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
      EXPECT_FALSE(ReadExactCopy(cut).ok) << "cut at " << size << " of " << bytes.size();
    }
  }
}

struct Damage {
  const char* what;
  std::function<void(std::vector<std::uint8_t>&)> apply;
};

class DamagedBlock : public testing::TestWithParam<Damage> {};

TEST_P(DamagedBlock, IsRefused) {
  std::vector<std::uint8_t> bytes = runtime::WriteTemplateBlock(SmallBlock());
  GetParam().apply(bytes);
  TemplateReadResult read = ReadExactCopy(bytes);
  EXPECT_FALSE(read.ok);
  EXPECT_FALSE(read.error.empty());
  EXPECT_LE(read.errorOffset, bytes.size());
}

auto Patch(std::size_t at, std::uint32_t value) {
  return [=](std::vector<std::uint8_t>& b) { SetWord(b, at, value); };
}
auto Adjust(std::size_t at, std::int64_t delta) {
  return [=](std::vector<std::uint8_t>& b) { SetWord(b, at, static_cast<std::uint32_t>(WordAt(b, at) + delta)); };
}

INSTANTIATE_TEST_SUITE_P(
    Table, DamagedBlock,
    testing::Values(
        Damage{"table length not a multiple of 8", Patch(kTableLength, 7)},
        Damage{"table length past the end", Patch(kTableLength, 0x7FFFFFF8)},
        Damage{"one window more than there is", Patch(kTableLength, 16)},
        Damage{"text length past the end", Patch(kFirstText, 0xFFFFFFFF)},
        Damage{"unit count beyond the area", Patch(kUnitCount, 0x40000000)},
        Damage{"unit count one more", Adjust(kUnitCount, 1)},
        Damage{"unit count one less", Adjust(kUnitCount, -1)},
        Damage{"area length past the end", Patch(kAreaLength, 0xFFFFFFF0)},
        Damage{"area length one short", Adjust(kAreaLength, -1)},
        Damage{"record offset outside", Patch(kFirstOffset, 0x7FFFFFFF)},
        Damage{"records overlapping", Patch(kSecondOffset, 0)},
        Damage{"offset inside a record", Adjust(kSecondOffset, 4)},
        Damage{"record size past the area", Patch(kFirstSize, 0xFFFFFFFF)},
        Damage{"record too short for its fields", Patch(kFirstSize, 30)},
        Damage{"record size leaving a gap", Adjust(kFirstSize, -1)},
        Damage{"child count past the record", Patch(kFirstChildCount, 0x3FFFFFFF)},
        Damage{"pointer data past the record", Patch(kFirstPointerData, 0x10000)},
        Damage{"event count past the record", Patch(kFirstEventCount, 0x20000000)},
        Damage{"unit id twice", Patch(kSecondUnitId, 0x06010000)},
        Damage{"a byte left over", [](std::vector<std::uint8_t>& b) { b.push_back(0); }},
        Damage{"a terminated text without its NUL",
               [](std::vector<std::uint8_t>& b) {
                 // The label's name "ab" and its NUL are the last bytes of its record's start:
                 // make the NUL a letter and cut the record there.
                 std::size_t second = 52 + WordAt(b, kSecondOffset);
                 std::size_t nameAt = second + 4 + 24;
                 b[nameAt + 2] = 'c';
                 SetWord(b, second, 24 + 3);
                 b.resize(nameAt + 3);
                 SetWord(b, kAreaLength, static_cast<std::uint32_t>(b.size() - 36));
               }},
        Damage{"window id twice",
               [](std::vector<std::uint8_t>& b) {
                 TemplateBlock two = SmallBlock();
                 two.windows.push_back(two.windows[0]);
                 b = runtime::WriteTemplateBlock(two);
               }}),
    [](const testing::TestParamInfo<Damage>& info) {
      std::string name = info.param.what;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

TEST(TypeData, EmptyDataMeansTheDefaults) {
  for (const runtime::UnitTypeInfo* type : runtime::AllUnitTypes()) {
    runtime::TypeDataResult decoded = runtime::DecodeTypeData(*type, "");
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.data, runtime::DefaultTypeData(*type)) << type->name;
  }
}

TEST(TypeData, LayoutVersionsAndFixedFields) {
  using runtime::unit_type::RadioBox;
  const runtime::UnitTypeInfo& radio = *runtime::FindUnitType(RadioBox);
  runtime::TypeData data = runtime::DefaultTypeData(radio);
  data.own[runtime::radio_box_property::Checked].number = 1;
  data.own[runtime::radio_box_property::Caption].bytes = "cap";
  std::string bytes = runtime::EncodeTypeData(radio, data);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x01\0\0\0", 4));
  EXPECT_EQ(bytes.substr(32, 4), std::string("\x01\0\0\0", 4));
  EXPECT_EQ(bytes.substr(bytes.size() - 7), std::string("\x03\0\0\0cap", 7));

  const std::pair<std::uint32_t, std::uint32_t> versions[] = {
      {runtime::unit_type::Window, 6}, {runtime::unit_type::EditBox, 2}, {runtime::unit_type::Label, 2},
      {runtime::unit_type::Button, 1}, {RadioBox, 1}};
  for (auto [word, version] : versions) {
    const runtime::UnitTypeInfo& type = *runtime::FindUnitType(word);
    std::string encoded = runtime::EncodeTypeData(type, runtime::DefaultTypeData(type));
    EXPECT_EQ(static_cast<std::uint8_t>(encoded[0]), version) << type.name;
    EXPECT_TRUE(runtime::DecodeTypeData(type, encoded).ok);
    EXPECT_FALSE(runtime::DecodeTypeData(type, encoded.substr(0, encoded.size() - 1)).ok) << "truncated " << type.name;
    EXPECT_FALSE(runtime::DecodeTypeData(type, encoded + '\0').ok) << "left over " << type.name;
    encoded[0] = static_cast<char>(version + 1);
    EXPECT_FALSE(runtime::DecodeTypeData(type, encoded).ok) << "other version " << type.name;
  }
  const runtime::UnitTypeInfo& window = *runtime::FindUnitType(runtime::unit_type::Window);
  runtime::TypeData caption = runtime::DefaultTypeData(window);
  caption.own[runtime::window_property::Caption].bytes = "Panlift";
  std::string windowData = runtime::EncodeTypeData(window, caption);
  EXPECT_EQ(windowData.substr(windowData.size() - 15), std::string("\x07\0\0\0Panlift\0\0\0\0", 15))
      << "the caption, then one zero word";
}

}  // namespace
