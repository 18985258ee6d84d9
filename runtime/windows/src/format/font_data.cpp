#include "runtime/windows/font_data.h"

#include "byte_reader.h"

namespace runtime {

std::optional<FontData> DecodeFontData(std::string_view bytes) {
  format::ByteReader in(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  if (in.Remaining() < 12) return std::nullopt;
  FontData font;
  font.pointSize = in.SignedWord("point size");
  font.weight = in.SignedWord("weight");
  font.style = in.SignedWord("style");
  font.face.assign(bytes.substr(12));
  return font;
}

std::string EncodeFontData(const FontData& font) {
  std::string out;
  for (std::int32_t word : {font.pointSize, font.weight, font.style}) {
    auto v = static_cast<std::uint32_t>(word);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(static_cast<std::uint8_t>(v >> (8 * i))));
  }
  return out + font.face;
}

}  // namespace runtime
