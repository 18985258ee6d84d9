// Writing a TemplateBlock back as a description.
#include <algorithm>
#include <cstdio>

#include "description.h"
#include "gbk_text.h"
#include "runtime/windows/font_data.h"
#include "runtime/windows/type_data.h"

namespace template_compiler {
namespace {

using runtime::UnitRecord;
using runtime::UnitTypeInfo;

std::string Hex(std::uint32_t v, int digits = 8) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, v);
  return text;
}

template <typename Bytes>
bool AllZero(const Bytes& bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](auto b) { return b == 0; });
}

template <typename Bytes>
std::string HexBytes(const Bytes& bytes) {
  std::string out = "[";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(static_cast<std::uint8_t>(bytes[i])));
    if (i) out += ' ';
    out += text;
  }
  return out + "]";
}

std::string Handler(std::int32_t handler) {
  return handler == runtime::kNoHandler ? "none" : std::to_string(handler);
}

bool IsColourKind(std::int32_t kind) {
  return kind == runtime::value_kind::TextColour || kind == runtime::value_kind::Colour ||
         kind == runtime::value_kind::BackgroundColour;
}

std::string NumberValue(const runtime::OwnPropertyInfo& property, std::int32_t value) {
  if (IsColourKind(property.kind)) {
    return value == runtime::kDefaultColour ? "default" : Hex(static_cast<std::uint32_t>(value), 6);
  }
  if (property.kind == runtime::value_kind::Boolean && (value == 0 || value == 1)) return value ? "true" : "false";
  return std::to_string(value);
}

std::string BytesValue(const runtime::OwnPropertyInfo& property, const std::string& bytes) {
  if (property.kind == runtime::value_kind::Font) {
    std::optional<runtime::FontData> font = runtime::DecodeFontData(bytes);
    constexpr std::int32_t kStyles =
        runtime::FontData::Italic | runtime::FontData::Underline | runtime::FontData::StrikeOut;
    if (font && (font->style & ~kStyles) == 0) {
      std::string out = QuoteGbk(font->face) + " " + std::to_string(font->pointSize) + " " + std::to_string(font->weight);
      if (font->style & runtime::FontData::Italic) out += " italic";
      if (font->style & runtime::FontData::Underline) out += " underline";
      if (font->style & runtime::FontData::StrikeOut) out += " strikeout";
      return out;
    }
  }
  return HexBytes(bytes);
}

void DescribeTypeData(std::string& out, const UnitRecord& unit) {
  const std::string indent = "    ";
  if (unit.typeData.empty()) {
    out += indent + "data empty\n";
    return;
  }
  const UnitTypeInfo* type = runtime::FindUnitType(unit.typeWord);
  runtime::TypeDataResult decoded;
  if (type) decoded = runtime::DecodeTypeData(*type, unit.typeData);
  if (!type || !decoded.ok) {
    if (type) out += indent + "# " + decoded.error + "\n";
    out += indent + "data raw " + HexBytes(unit.typeData) + "\n";
    return;
  }
  const runtime::TypeData defaults = runtime::DefaultTypeData(*type);
  bool anyGiven = false;
  for (std::size_t i = 0; i < type->own.size(); ++i) {
    const runtime::OwnPropertyInfo& property = type->own[i];
    const runtime::OwnValue& value = decoded.data.own[i];
    if (value == defaults.own[i]) continue;
    anyGiven = true;
    out += indent + property.name + " ";
    switch (runtime::StorageOf(property.kind)) {
      case runtime::ValueStorage::Number: out += NumberValue(property, value.number); break;
      case runtime::ValueStorage::Text: out += QuoteGbk(value.bytes); break;
      case runtime::ValueStorage::Bytes: out += BytesValue(property, value.bytes); break;
    }
    out += "\n";
  }
  if (!AllZero(decoded.data.reserved)) {
    anyGiven = true;
    out += indent + "data-reserved " + HexBytes(decoded.data.reserved) + "\n";
  }
  if (!anyGiven) out += indent + "# every own property has its default\n";
}

void DescribeUnit(std::string& out, const UnitRecord& unit) {
  const UnitTypeInfo* type = runtime::FindUnitType(unit.typeWord);
  out += "  unit " + Hex(unit.id) + " " + (type ? type->name : Hex(unit.typeWord)) + " " + QuoteGbk(unit.name) + "\n";
  const std::string indent = "    ";
  if (!AllZero(unit.reserved)) out += indent + "reserved " + HexBytes(unit.reserved) + "\n";
  if (!unit.secondText.empty()) out += indent + "second " + QuoteGbk(unit.secondText) + "\n";
  if (unit.IsShort()) {
    if (!AllZero(unit.shortFields)) out += indent + "short-fields " + HexBytes(unit.shortFields) + "\n";
    if (!unit.shortText.empty()) out += indent + "short-text " + QuoteGbk(unit.shortText) + "\n";
    out += indent + "handler " + Handler(unit.shortHandler) + "\n";
  } else {
    out += indent + "position " + std::to_string(unit.left) + " " + std::to_string(unit.top) + " " +
           std::to_string(unit.width) + " " + std::to_string(unit.height) + "\n";
    if (unit.parentId) out += indent + "parent " + Hex(unit.parentId) + "\n";
    if (!unit.children.empty()) {
      out += indent + "children";
      for (std::uint32_t child : unit.children) out += " " + Hex(child);
      out += "\n";
    }
    out += indent + "flags " + std::to_string(unit.flags[0]) + " " + std::to_string(unit.flags[1]) + " " +
           std::to_string(unit.flags[2]) + "\n";
    if (!unit.tag.empty()) out += indent + "tag " + QuoteGbk(unit.tag) + "\n";
    if (!unit.mousePointer.empty()) out += indent + "pointer " + HexBytes(unit.mousePointer) + "\n";
    if (unit.liveSlot || unit.pointerSlot) {
      out += indent + "slots " + std::to_string(unit.liveSlot) + " " + std::to_string(unit.pointerSlot) + "\n";
    }
    if (!AllZero(unit.reserved2)) out += indent + "reserved2 " + HexBytes(unit.reserved2) + "\n";
    for (const runtime::EventBinding& binding : unit.events) {
      out += indent + "on " + std::to_string(binding.eventNumber) + " " + Handler(binding.handler) + "\n";
    }
  }
  DescribeTypeData(out, unit);
}

}  // namespace

std::string DescribeBlock(const runtime::TemplateBlock& block) {
  std::string out = "# " + std::to_string(block.windows.size()) + " window(s); handlers are byte offsets into the " +
                    "procedure table (" + std::to_string(ProcedureSize()) + " bytes per procedure)\n";
  for (const runtime::TemplateBlock::Window& window : block.windows) {
    out += "\nwindow " + Hex(window.id) + "\n";
    out += "  header " + Hex(window.form.header[0]) + " " + Hex(window.form.header[1]) + "\n";
    if (!window.form.firstText.empty() || !window.form.secondText.empty()) {
      out += "  texts " + QuoteGbk(window.form.firstText) + " " + QuoteGbk(window.form.secondText) + "\n";
    }
    out += "  # " + std::to_string(window.form.units.size()) + " units\n";
    for (const UnitRecord& unit : window.form.units) DescribeUnit(out, unit);
  }
  return out;
}

}  // namespace template_compiler
