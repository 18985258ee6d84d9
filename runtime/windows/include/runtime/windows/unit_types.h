// The unit types that windows are built from: their type words, their own properties
// (numbers from 8 on) with value kinds and defaults, and the layout of their UnitTypeData.
// Shared by the runtime, which builds live units from it, and the template compiler.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace runtime {

namespace value_kind {
inline constexpr std::int32_t Integer = 1001;
inline constexpr std::int32_t Boolean = 1003;
inline constexpr std::int32_t Text = 1005;
inline constexpr std::int32_t Choice = 1006;
inline constexpr std::int32_t Picture = 1009;
inline constexpr std::int32_t Icon = 1010;
inline constexpr std::int32_t MousePointer = 1011;
inline constexpr std::int32_t Sound = 1012;
inline constexpr std::int32_t Font = 1013;
inline constexpr std::int32_t TextColour = 1014;
inline constexpr std::int32_t Colour = 1015;
inline constexpr std::int32_t FileName = 1016;
inline constexpr std::int32_t BackgroundColour = 1017;
inline constexpr std::int32_t DataSource = 1018;
inline constexpr std::int32_t DataColumn = 1020;
}  // namespace value_kind

// How a value of a kind is held: a 32-bit number, a GBK text, or bytes (a byte set).
enum class ValueStorage { Number, Text, Bytes };
ValueStorage StorageOf(std::int32_t kind);

// A colour value that means "the system's colour for this part".
inline constexpr std::int32_t kDefaultColour = static_cast<std::int32_t>(0xFF000000u);

namespace unit_type {
inline constexpr std::uint32_t Window = 0x00010001;
inline constexpr std::uint32_t EditBox = 0x00010005;
inline constexpr std::uint32_t Label = 0x0001000A;
inline constexpr std::uint32_t Button = 0x0001000B;
inline constexpr std::uint32_t RadioBox = 0x0001000D;
}  // namespace unit_type

// Properties 0 to 7, the same for every unit.
inline constexpr std::int32_t kCommonPropertyCount = 8;
namespace common_property {
inline constexpr std::int32_t Left = 0, Top = 1, Width = 2, Height = 3, Tag = 4, Visible = 5, Disabled = 6,
                              MousePointer = 7;
}
std::int32_t CommonPropertyKind(std::int32_t number);

struct OwnPropertyInfo {
  const char* name;  // as the template description names it
  std::int32_t kind;
  std::int32_t defaultNumber = 0;      // Number storage
  const char* defaultBytes = nullptr;  // Text and Bytes storage; null is empty
  // A write is clamped into [minimum, maximum] when minimum <= maximum.
  std::int32_t minimum = 1;
  std::int32_t maximum = 0;
};

// One field of the UnitTypeData after its layout version word.
enum class FieldEncoding {
  Word,     // an own property of Number storage
  Counted,  // an own property of Text or Bytes storage: a length word, then the bytes
  Reserved  // `size` bytes carried unchanged (zero when written fresh)
};
struct TypeDataField {
  FieldEncoding encoding;
  std::int32_t own = -1;  // own property index (property number - 8)
  std::int32_t size = 0;  // Reserved only
};

struct UnitTypeInfo {
  std::uint32_t typeWord;
  const char* name;
  std::int32_t layoutVersion;
  std::span<const OwnPropertyInfo> own;   // index = property number - 8
  std::span<const TypeDataField> layout;  // own properties missing here are not stored
  std::int32_t PropertyCount() const { return kCommonPropertyCount + static_cast<std::int32_t>(own.size()); }
};

const UnitTypeInfo* FindUnitType(std::uint32_t typeWord);
const UnitTypeInfo* FindUnitTypeByName(std::string_view name);
std::span<const UnitTypeInfo* const> AllUnitTypes();
// Index of the own property with that name, or -1.
std::int32_t FindOwnProperty(const UnitTypeInfo& type, std::string_view name);

// Own property indexes that the runtime gives an effect (number - 8).
namespace window_property {
inline constexpr std::int32_t Caption = 0, BackgroundColour = 2, AlwaysOnTop = 21;
}
namespace edit_box_property {
inline constexpr std::int32_t Content = 0, Border = 1, TextColour = 2, BackgroundColour = 3, Font = 4,
                              MaxLength = 6, InputMode = 10, PasswordChar = 11, AdjusterLower = 14,
                              AdjusterUpper = 15, SelectionStart = 16, SelectionLength = 17, SelectedText = 18;
}
namespace label_property {
inline constexpr std::int32_t Caption = 0, Font = 7, TextColour = 8, BackgroundColour = 9, HorizontalAlign = 16,
                              WordWrap = 17, VerticalAlign = 18;
}
namespace button_property {
inline constexpr std::int32_t Picture = 0, Kind = 1, Caption = 2, Font = 5;
}
namespace radio_box_property {
inline constexpr std::int32_t Picture = 0, PushLike = 1, Flat = 2, Caption = 3, LeftText = 4, HorizontalAlign = 5,
                              VerticalAlign = 6, TextColour = 7, BackgroundColour = 8, Font = 9, Checked = 10;
}

}  // namespace runtime
