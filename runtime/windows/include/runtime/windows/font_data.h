// The bytes of a font property: point size, weight and style words, then the face name.
// Empty bytes mean the system's font.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace runtime {

struct FontData {
  static constexpr std::int32_t Italic = 1, Underline = 2, StrikeOut = 4;
  std::int32_t pointSize = 0;  // 0: the system's size
  std::int32_t weight = 0;     // 0: the system's weight; 400 normal, 700 bold
  std::int32_t style = 0;      // Italic | Underline | StrikeOut
  std::string face;            // GBK; empty: the system's face
  bool operator==(const FontData&) const = default;
};

// Null for empty or unreadable bytes (both mean the system's font).
std::optional<FontData> DecodeFontData(std::string_view bytes);
std::string EncodeFontData(const FontData& font);

}  // namespace runtime
