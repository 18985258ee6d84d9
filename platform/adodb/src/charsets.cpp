#include "charsets.h"

#include <string_view>

#include "codepage/codepage.h"
#include "codepage/gbk_walk.h"

namespace adodb::detail {

namespace {

bool SameName(std::u16string_view given, std::string_view name) {
  if (given.size() != name.size()) return false;
  for (std::size_t i = 0; i < given.size(); ++i) {
    char16_t c = given[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != static_cast<unsigned char>(name[i])) return false;
  }
  return true;
}

std::string_view AsChars(std::span<const BYTE> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

bool InRange(BYTE b, BYTE low, BYTE high) { return b >= low && b <= high; }

// The longest start of a well-formed UTF-8 sequence at bytes[0]: a whole character, or
// the part of one that a broken sequence has (at least one byte).
std::size_t Utf8Length(std::span<const BYTE> bytes) {
  const BYTE lead = bytes[0];
  std::size_t needed = 0;
  BYTE secondLow = 0x80;
  BYTE secondHigh = 0xBF;
  if (lead < 0x80) return 1;
  if (InRange(lead, 0xC2, 0xDF)) {
    needed = 2;
  } else if (InRange(lead, 0xE0, 0xEF)) {
    needed = 3;
    if (lead == 0xE0) secondLow = 0xA0;   // no overlong forms
    if (lead == 0xED) secondHigh = 0x9F;  // no surrogates
  } else if (InRange(lead, 0xF0, 0xF4)) {
    needed = 4;
    if (lead == 0xF0) secondLow = 0x90;
    if (lead == 0xF4) secondHigh = 0x8F;  // nothing past U+10FFFF
  } else {
    return 1;
  }
  std::size_t length = 1;
  while (length < needed && length < bytes.size()) {
    const BYTE b = bytes[length];
    const bool fits = length == 1 ? InRange(b, secondLow, secondHigh) : InRange(b, 0x80, 0xBF);
    if (!fits) break;
    ++length;
  }
  return length;
}

void AppendUtf8Character(std::span<const BYTE> bytes, std::u16string& out) {
  const BYTE lead = bytes[0];
  if (lead < 0x80) {
    out += static_cast<char16_t>(lead);
    return;
  }
  const std::size_t needed = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (bytes.size() != needed) {
    out += u'\uFFFD';
    return;
  }
  char32_t value = lead & (0x7F >> needed);
  for (std::size_t i = 1; i < needed; ++i) value = (value << 6) | (bytes[i] & 0x3F);
  if (value >= 0x10000) {
    value -= 0x10000;
    out += static_cast<char16_t>(0xD800 | (value >> 10));
    out += static_cast<char16_t>(0xDC00 | (value & 0x3FF));
  } else {
    out += static_cast<char16_t>(value);
  }
}

std::u16string DecodeUtf8(std::span<const BYTE> bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    const std::size_t length = Utf8Length(bytes);
    AppendUtf8Character(bytes.first(length), out);
    bytes = bytes.subspan(length);
  }
  return out;
}

std::u16string DecodeUtf16(std::span<const BYTE> bytes) {
  std::u16string out;
  out.reserve(bytes.size() / 2 + 1);
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    out += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
  }
  if (i < bytes.size()) out += u'\uFFFD';  // half a code unit
  return out;
}

std::string EncodeUtf16(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char16_t unit : text) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  }
  return out;
}

}  // namespace

std::optional<Charset> FindCharset(std::u16string_view name) {
  static constexpr struct {
    std::string_view name;
    Charset charset;
  } kNames[] = {
      {"unicode", Charset::Utf16},  {"utf-16", Charset::Utf16}, {"utf-8", Charset::Utf8},
      {"gbk", Charset::Gbk},        {"gb2312", Charset::Gbk},   {"cp936", Charset::Gbk},
      {"us-ascii", Charset::Ascii},
  };
  for (const auto& entry : kNames) {
    if (SameName(name, entry.name)) return entry.charset;
  }
  return std::nullopt;
}

std::string_view ByteOrderMark(Charset charset) {
  switch (charset) {
    case Charset::Utf16: return "\xFF\xFE";
    case Charset::Utf8: return "\xEF\xBB\xBF";
    default: return {};
  }
}

std::string Encode(Charset charset, std::u16string_view text) {
  switch (charset) {
    case Charset::Utf16: return EncodeUtf16(text);
    case Charset::Utf8: return codepage::Utf16ToUtf8(text);
    case Charset::Gbk: return codepage::Utf16ToGbk(text);
    case Charset::Ascii: {
      std::string out;
      out.reserve(text.size());
      for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
      return out;
    }
  }
  return {};
}

std::u16string Decode(Charset charset, std::span<const BYTE> bytes) {
  switch (charset) {
    case Charset::Utf16: return DecodeUtf16(bytes);
    case Charset::Utf8: return DecodeUtf8(bytes);
    case Charset::Gbk: return codepage::GbkToUtf16(AsChars(bytes));
    case Charset::Ascii: {
      std::u16string out;
      out.reserve(bytes.size());
      for (BYTE b : bytes) out += b < 0x80 ? static_cast<char16_t>(b) : u'?';
      return out;
    }
  }
  return {};
}

std::size_t CharacterLength(Charset charset, std::span<const BYTE> bytes) {
  if (bytes.empty()) return 0;
  switch (charset) {
    case Charset::Utf16: return bytes.size() >= 2 ? 2 : 1;
    case Charset::Utf8: return Utf8Length(bytes);
    case Charset::Gbk: {
      // Code page 936 as Windows walks it; a lead byte without a trail stands alone.
      const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
      const std::size_t width = codepage::GbkCharWidth(text, 0, codepage::GbkLeads::CodePage);
      return width == 0 ? 1 : width;
    }
    case Charset::Ascii: return 1;
  }
  return 1;
}

}  // namespace adodb::detail
