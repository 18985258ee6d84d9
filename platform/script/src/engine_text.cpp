#include "engine_text.h"

namespace script::detail {

std::string ToEngineText(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t unit : text) {
    const unsigned u = unit;
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

namespace {

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

std::u16string FromEngineText(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    unsigned value = 0;
    if (lead < 0x80) {
      length = 1;
      value = lead;
    } else if (lead >= 0xC0 && lead < 0xE0) {
      length = 2;
      value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      length = 3;
      value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead < 0xF8) {
      length = 4;
      value = lead & 0x07;
    }
    std::size_t taken = 1;
    while (length != 0 && taken < length && i + taken < bytes.size() &&
           IsContinuation(static_cast<unsigned char>(bytes[i + taken]))) {
      value = (value << 6) | (static_cast<unsigned char>(bytes[i + taken]) & 0x3F);
      ++taken;
    }
    if (length == 0 || taken < length || value > 0x10FFFF) {
      out += u'\uFFFD';  // skip only the bytes that belong to the broken sequence
    } else if (value >= 0x10000) {
      value -= 0x10000;
      out += static_cast<char16_t>(0xD800 | (value >> 10));
      out += static_cast<char16_t>(0xDC00 | (value & 0x3FF));
    } else {
      out += static_cast<char16_t>(value);
    }
    i += taken;
  }
  return out;
}

}  // namespace script::detail
