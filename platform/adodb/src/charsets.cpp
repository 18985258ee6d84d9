#include "charsets.h"

#include <string_view>

#include "codepage/codepage.h"
#include "codepage/gbk_walk.h"
#include "win/ascii_case.h"

namespace adodb::detail {

namespace {

std::string_view AsChars(std::span<const BYTE> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
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
    if (ascii::EqualsIgnoreCase(name, entry.name)) return entry.charset;
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
    case Charset::Utf8: return codepage::Utf8ToUtf16(AsChars(bytes));
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
    case Charset::Utf8: return codepage::Utf8CharacterLength(AsChars(bytes));
    case Charset::Gbk: {
      // Code page 936 as Windows walks it; a lead byte without a trail stands alone.
      const std::size_t width = codepage::GbkCharWidth(AsChars(bytes), 0, codepage::GbkLeads::CodePage);
      return width == 0 ? 1 : width;
    }
    case Charset::Ascii: return 1;
  }
  return 1;
}

}  // namespace adodb::detail
