#include "oleaut/locale.h"

#include "locale_info.h"

namespace {

constexpr WORD kLangChinese = 0x04;
constexpr WORD kSublangChineseSimplified = 0x02;
constexpr LCID kUserLocale = 0x0804;

// Languages that write 1,5 for one and a half.
bool UsesDecimalComma(WORD primary) {
  switch (primary) {
    case 0x05:  // Czech
    case 0x07:  // German
    case 0x0A:  // Spanish
    case 0x0C:  // French
    case 0x10:  // Italian
    case 0x13:  // Dutch
    case 0x15:  // Polish
    case 0x16:  // Portuguese
    case 0x19:  // Russian
    case 0x1F:  // Turkish
      return true;
    default:
      return false;
  }
}

}  // namespace

LCID GetUserDefaultLCID() { return kUserLocale; }
LCID GetSystemDefaultLCID() { return kUserLocale; }

LCID ConvertDefaultLocale(LCID lcid) {
  const LANGID lang = LANGIDFROMLCID(lcid);
  const WORD primary = PRIMARYLANGID(lang);
  if (primary == 0) return kUserLocale;  // neutral, user default, system default
  if (lcid == LOCALE_INVARIANT) return lcid;
  if (SUBLANGID(lang) != SUBLANG_NEUTRAL) return lcid;
  const WORD sub = primary == kLangChinese ? kSublangChineseSimplified : SUBLANG_DEFAULT;
  return (lcid & 0xFFFF0000u) | MAKELANGID(primary, sub);
}

namespace oleaut::detail {

LocaleInfo LocaleInfoOf(LCID lcid) {
  const WORD primary = PRIMARYLANGID(LANGIDFROMLCID(ConvertDefaultLocale(lcid)));
  LocaleInfo info{u'.', u',', primary == kLangChinese};
  if (UsesDecimalComma(primary)) {
    info.decimalSeparator = u',';
    info.thousandsSeparator = u'.';
  }
  return info;
}

}  // namespace oleaut::detail
