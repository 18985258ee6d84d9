// The five unit types: own properties (kinds, defaults, clamps) and UnitTypeData layouts.
#include <array>

#include "runtime/windows/unit_types.h"

namespace runtime {
namespace {

namespace k = value_kind;
constexpr std::int32_t kMax = 0x7FFFFFFF;

constexpr TypeDataField W(std::int32_t own) { return {FieldEncoding::Word, own, 0}; }
constexpr TypeDataField C(std::int32_t own) { return {FieldEncoding::Counted, own, 0}; }
constexpr TypeDataField R(std::int32_t size) { return {FieldEncoding::Reserved, -1, size}; }

// ---- window (窗口), properties 8 to 31 ----
constexpr OwnPropertyInfo kWindowOwn[] = {
    {"caption", k::Text},
    {"border", k::Choice, 2},
    {"backgroundColour", k::BackgroundColour, kDefaultColour},
    {"backgroundPicture", k::Picture},
    {"pictureMode", k::Choice},
    {"backgroundSound", k::Sound},
    {"soundRepeat", k::Choice},
    {"controlBox", k::Boolean, 1},
    {"maximizeBox", k::Boolean, 0},
    {"minimizeBox", k::Boolean, 1},
    {"position", k::Choice},
    {"movable", k::Boolean, 1},
    {"icon", k::Icon},
    {"enterMovesFocus", k::Boolean},
    {"escapeCloses", k::Boolean},
    {"f1OpensHelp", k::Boolean},
    {"helpFile", k::FileName},
    {"helpContext", k::Integer},
    {"showInTaskbar", k::Boolean, 1},
    {"dragAnywhere", k::Boolean},
    {"shape", k::Choice},
    {"alwaysOnTop", k::Boolean},
    {"keepTitleActive", k::Boolean},
    {"className", k::Text},
};
// The window's caption is followed by one zero word; before it lies a reserved area of
// the window's data, carried unchanged.
constexpr std::int32_t kWindowReservedArea = 73;
constexpr TypeDataField kWindowLayout[] = {
    W(1),  W(2),  W(4),  W(6),  W(7),  W(8),  W(9),  W(10), W(11),
    W(13), W(14), W(15), W(17), W(18), W(19), W(20), W(21), W(22),
    C(3),  C(5),  C(12), C(16), C(23), R(kWindowReservedArea), C(0), R(4),
};

// ---- EditBox (编辑框), properties 8 to 28 ----
constexpr OwnPropertyInfo kEditBoxOwn[] = {
    {"content", k::Text},
    {"border", k::Choice, 1, nullptr, 0, 5},
    {"textColour", k::TextColour, kDefaultColour},
    {"backgroundColour", k::BackgroundColour, kDefaultColour},
    {"font", k::Font},
    {"hideSelection", k::Boolean, 1},
    {"maxLength", k::Integer, 0, nullptr, 0, kMax},
    {"multiLine", k::Boolean},
    {"scrollBars", k::Choice, 0, nullptr, 0, 3},
    {"alignment", k::Choice, 0, nullptr, 0, 2},
    {"inputMode", k::Choice, 0, nullptr, 0, 11},
    {"passwordChar", k::Text, 0, "*"},
    {"conversion", k::Choice, 0, nullptr, 0, 2},
    {"adjusterMode", k::Choice, 0, nullptr, 0, 2},
    {"adjusterLower", k::Integer, 0},
    {"adjusterUpper", k::Integer, 100},
    {"selectionStart", k::Integer},
    {"selectionLength", k::Integer},
    {"selectedText", k::Text},
    {"dataSource", k::DataSource},
    {"dataColumn", k::DataColumn},
};
// The selection (16 to 18) lives only in the control.
constexpr TypeDataField kEditBoxLayout[] = {
    C(0),  W(1),  W(2),  W(3),  W(5),  W(6),  W(7),  W(8), W(9),
    W(10), W(12), W(13), W(14), W(15), C(11), C(4), C(19), C(20),
};

// ---- Label (标签), properties 8 to 28 ----
constexpr OwnPropertyInfo kLabelOwn[] = {
    {"caption", k::Text},
    {"effect", k::Choice},
    {"border", k::Choice},
    {"gradientBorderWidth", k::Integer},
    {"borderColour1", k::Colour, kDefaultColour},
    {"borderColour2", k::Colour, kDefaultColour},
    {"borderColour3", k::Colour, kDefaultColour},
    {"font", k::Font},
    {"textColour", k::TextColour, kDefaultColour},
    {"backgroundColour", k::BackgroundColour, kDefaultColour},
    {"backgroundPicture", k::Picture},
    {"pictureMode", k::Choice},
    {"gradientMode", k::Choice},
    {"gradientColour1", k::Colour, kDefaultColour},
    {"gradientColour2", k::Colour, kDefaultColour},
    {"gradientColour3", k::Colour, kDefaultColour},
    {"horizontalAlign", k::Choice, 0, nullptr, 0, 2},
    {"wordWrap", k::Boolean},
    {"verticalAlign", k::Choice, 0, nullptr, 0, 2},
    {"dataSource", k::DataSource},
    {"dataColumn", k::DataColumn},
};
// The caption is followed by 8 zero bytes.
constexpr TypeDataField kLabelLayout[] = {
    W(1),  W(2),  W(3),  W(4),  W(5),  W(6),  W(8),  W(9),  W(11), W(12), W(13),
    W(14), W(15), W(16), W(17), W(18), C(7),  C(10), C(19), C(20), C(0),  R(8),
};

// ---- Button (按钮), properties 8 to 13 ----
constexpr OwnPropertyInfo kButtonOwn[] = {
    {"picture", k::Picture},
    {"kind", k::Choice, 0, nullptr, 0, 1},  // 1: the default button of its window
    {"caption", k::Text},
    {"horizontalAlign", k::Choice, 1, nullptr, 0, 2},
    {"verticalAlign", k::Choice, 1, nullptr, 0, 2},
    {"font", k::Font},
};
// The caption is the last field.
constexpr TypeDataField kButtonLayout[] = {W(1), W(3), W(4), C(0), C(5), C(2)};

// ---- RadioBox (单选框), properties 8 to 18 ----
constexpr OwnPropertyInfo kRadioBoxOwn[] = {
    {"picture", k::Picture},
    {"pushLike", k::Boolean},
    {"flat", k::Boolean},
    {"caption", k::Text},
    {"leftText", k::Boolean},
    {"horizontalAlign", k::Choice, 0, nullptr, 0, 2},
    {"verticalAlign", k::Choice, 1, nullptr, 0, 2},
    {"textColour", k::TextColour, kDefaultColour},
    {"backgroundColour", k::BackgroundColour, kDefaultColour},
    {"font", k::Font},
    {"checked", k::Boolean},
};
// The checked state is the word at byte 32 of the data; the caption is the last field.
constexpr TypeDataField kRadioBoxLayout[] = {W(1), W(2), W(4), W(5), W(6), W(7), W(8), W(10), C(0), C(9), C(3)};

constexpr UnitTypeInfo kWindow{unit_type::Window, "window", 6, kWindowOwn, kWindowLayout};
constexpr UnitTypeInfo kEditBox{unit_type::EditBox, "EditBox", 2, kEditBoxOwn, kEditBoxLayout};
constexpr UnitTypeInfo kLabel{unit_type::Label, "Label", 2, kLabelOwn, kLabelLayout};
constexpr UnitTypeInfo kButton{unit_type::Button, "Button", 1, kButtonOwn, kButtonLayout};
constexpr UnitTypeInfo kRadioBox{unit_type::RadioBox, "RadioBox", 1, kRadioBoxOwn, kRadioBoxLayout};

constexpr std::array<const UnitTypeInfo*, 5> kAllTypes = {&kWindow, &kEditBox, &kLabel, &kButton, &kRadioBox};

constexpr std::int32_t kCommonKinds[kCommonPropertyCount] = {
    k::Integer, k::Integer, k::Integer, k::Integer, k::Text, k::Boolean, k::Boolean, k::MousePointer,
};

}  // namespace

ValueStorage StorageOf(std::int32_t kind) {
  switch (kind) {
    case k::Text:
    case k::FileName: return ValueStorage::Text;
    case k::Picture:
    case k::Icon:
    case k::MousePointer:
    case k::Sound:
    case k::Font:
    case k::DataSource:
    case k::DataColumn: return ValueStorage::Bytes;
    default: return ValueStorage::Number;
  }
}

std::int32_t CommonPropertyKind(std::int32_t number) {
  return number >= 0 && number < kCommonPropertyCount ? kCommonKinds[number] : 0;
}

const UnitTypeInfo* FindUnitType(std::uint32_t typeWord) {
  for (const UnitTypeInfo* type : kAllTypes) {
    if (type->typeWord == typeWord) return type;
  }
  return nullptr;
}

const UnitTypeInfo* FindUnitTypeByName(std::string_view name) {
  for (const UnitTypeInfo* type : kAllTypes) {
    if (name == type->name) return type;
  }
  return nullptr;
}

std::span<const UnitTypeInfo* const> AllUnitTypes() { return kAllTypes; }

std::int32_t FindOwnProperty(const UnitTypeInfo& type, std::string_view name) {
  for (std::size_t i = 0; i < type.own.size(); ++i) {
    if (name == type.own[i].name) return static_cast<std::int32_t>(i);
  }
  return -1;
}

}  // namespace runtime
