// The name hash of type libraries. Each byte of the name, in the locale's ANSI code page,
// goes through the locale's folding table: letters fold to upper case, W counts as V and Y
// as U, "/" counts as nothing (0); the double-byte locales (Chinese, Japanese, Korean) count
// every byte from 0x80 as 0, the others keep such bytes as they are.
#include <string>

#include "codepage/codepage.h"
#include "oleaut/typelib.h"
#include "win/ascii_case.h"

namespace {

constexpr ULONG kSeed = 0x0DEADBEE;
constexpr ULONG kModulus = 65599;

struct HashLocale {
  WORD tableOffset;  // the high word
  bool doubleByte;
};

HashLocale HashLocaleOf(LCID lcid) {
  const LANGID lang = LANGIDFROMLCID(ConvertDefaultLocale(lcid));
  switch (PRIMARYLANGID(lang)) {
    case 0x05: case 0x0E: case 0x15: case 0x1B: case 0x0A:  // cs hu pl sk es
      return {32, false};
    case 0x0D: return {48, false};  // Hebrew
    case 0x11: return {64, true};   // Japanese
    case 0x12: return {80, true};   // Korean
    case 0x04: return {112, true};  // Chinese
    case 0x08: return {128, false};  // Greek
    case 0x0F: return {144, false};  // Icelandic
    case 0x1F: return {160, false};  // Turkish
    case 0x14: return {static_cast<WORD>(SUBLANGID(lang) == 2 ? 176 : 16), false};  // Nynorsk
    case 0x01: case 0x29: return {208, false};  // Arabic, Farsi
    case 0x19: return {224, false};  // Russian
    default: return {16, false};
  }
}

BYTE Fold(BYTE b, bool doubleByte) {
  if (b >= 0x80) return doubleByte ? 0 : b;
  b = ascii::Upper(b);
  if (b == 'W') return 'V';
  if (b == 'Y') return 'U';
  if (b == '/') return 0;
  return b;
}

ULONG Hash(SYSKIND syskind, LCID lcid, const std::string& bytes) {
  const HashLocale locale = HashLocaleOf(lcid);
  ULONG sum = kSeed;
  for (char c : bytes) sum = sum * 37 + Fold(static_cast<BYTE>(c), locale.doubleByte);
  const ULONG high = locale.tableOffset + (syskind == SYS_MAC ? 1u : 0u);
  return ((sum % kModulus) & 0xFFFF) | (high << 16);
}

}  // namespace

ULONG LHashValOfNameSysA(SYSKIND syskind, LCID lcid, LPCSTR name) {
  if (!name) return 0;
  return Hash(syskind, lcid, name);
}

ULONG LHashValOfNameSys(SYSKIND syskind, LCID lcid, LPCOLESTR name) {
  if (!name) return 0;
  std::u16string_view text(name);
  std::string bytes;
  if (HashLocaleOf(lcid).tableOffset == 112) {
    bytes = codepage::Utf16ToGbk(text);
  } else {
    // The other code pages are not carried here: their ASCII part is what names use.
    for (char16_t c : text) bytes.push_back(c < 0x100 ? static_cast<char>(c) : '?');
  }
  return Hash(syskind, lcid, bytes);
}
