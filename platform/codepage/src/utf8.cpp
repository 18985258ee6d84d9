// UTF-8 <-> UTF-16. An invalid sequence becomes one U+FFFD for its longest valid beginning
// (the "maximal subpart"), so a truncated sequence costs only the bytes present and the byte
// that broke it is read again.
#include "checked_conversions.h"
#include "codepage/codepage.h"

namespace codepage {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

void AppendCodePoint(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
    return;
  }
  c -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// The character at the start of `utf8` (not empty): its code point, or, for an invalid
// sequence, valid == false and the length of its longest valid beginning (at least 1).
struct Utf8Character {
  std::size_t length;
  char32_t c;
  bool valid;
};

Utf8Character FirstCharacter(std::string_view utf8) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
  const unsigned char lead = bytes[0];
  if (lead < 0x80) return {1, lead, true};
  // The continuation count and the range allowed for the first continuation byte, which
  // excludes overlong forms, surrogates and code points above U+10FFFF.
  std::size_t continuations = 0;
  unsigned char low = 0x80, high = 0xBF;
  char32_t c = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    continuations = 1;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    continuations = 2;
    c = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    continuations = 3;
    c = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {1, 0, false};
  }
  std::size_t next = 1;
  for (std::size_t k = 0; k < continuations; ++k, ++next) {
    if (next >= utf8.size() || bytes[next] < low || bytes[next] > high) return {next, 0, false};
    c = (c << 6) | (bytes[next] & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  return {next, c, true};
}

}  // namespace

bool DecodeUtf8(std::string_view utf8, std::u16string& out) {
  out.clear();
  out.reserve(utf8.size());
  bool clean = true;
  while (!utf8.empty()) {
    const Utf8Character character = FirstCharacter(utf8);
    if (character.valid) {
      AppendCodePoint(out, character.c);
    } else {
      out.push_back(kReplacement);
      clean = false;
    }
    utf8.remove_prefix(character.length);
  }
  return clean;
}

std::size_t Utf8CharacterLength(std::string_view utf8) { return utf8.empty() ? 0 : FirstCharacter(utf8).length; }

bool EncodeUtf8(std::u16string_view text, std::string& out) {
  out.clear();
  out.reserve(text.size() * 3);
  bool clean = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t unit = text[i];
    bool high = unit >= 0xD800 && unit <= 0xDBFF;
    bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (high || low) {
      AppendUtf8(out, kReplacement);
      clean = false;
    } else {
      AppendUtf8(out, unit);
    }
  }
  return clean;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  DecodeUtf8(utf8, out);
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  EncodeUtf8(text, out);
  return out;
}

}  // namespace codepage
