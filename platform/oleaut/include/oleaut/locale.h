// Locale ids. The user's and the system's default locale here is Chinese (PRC), 0x0804,
// whose ANSI code page is 936.
#pragma once

#include "win/types.h"

using LCID = DWORD;
using LANGID = WORD;

inline constexpr LCID LOCALE_NEUTRAL = 0x0000;
inline constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
inline constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
inline constexpr LCID LOCALE_INVARIANT = 0x007F;

inline constexpr WORD SUBLANG_NEUTRAL = 0x00;
inline constexpr WORD SUBLANG_DEFAULT = 0x01;

inline constexpr WORD PRIMARYLANGID(LANGID lang) { return lang & 0x3FF; }
inline constexpr WORD SUBLANGID(LANGID lang) { return lang >> 10; }
inline constexpr LANGID MAKELANGID(WORD primary, WORD sub) {
  return static_cast<LANGID>((sub << 10) | primary);
}
inline constexpr LANGID LANGIDFROMLCID(LCID lcid) { return static_cast<LANGID>(lcid & 0xFFFF); }
inline constexpr LCID MAKELCID(LANGID lang, WORD sort) {
  return (static_cast<LCID>(sort) << 16) | lang;
}

LCID GetUserDefaultLCID();    // 0x0804
LCID GetSystemDefaultLCID();  // 0x0804
// The default locales (neutral, user default, system default) become the user's locale, and a
// language without a sublanguage gets its default sublanguage.
LCID ConvertDefaultLocale(LCID lcid);
