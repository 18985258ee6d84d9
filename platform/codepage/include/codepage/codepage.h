// The ANSI code page of the system: code page 936 (GBK), to and from UTF-16 and UTF-8,
// behaving as Windows does (see the rules beside each function).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "win/types.h"

namespace codepage {

// GBK to UTF-16 as MultiByteToWideChar(936, 0): 0x80 is U+20AC, 0xFF is U+F8F5; a lead
// byte followed by any byte but NUL takes both ("?" when the pair is not assigned); a lead
// byte at the end gives "?". A NUL inside the view is converted like any other byte.
std::u16string GbkToUtf16(std::string_view gbk);
// UTF-16 to GBK as WideCharToMultiByte(936, 0): characters without a GBK form become "?",
// an unpaired surrogate too.
std::string Utf16ToGbk(std::u16string_view text);

// UTF-8 <-> UTF-16; an invalid UTF-8 sequence becomes U+FFFD (only the bytes present are
// skipped), an unpaired surrogate becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view text);
// The bytes of the first character of `utf8` that Utf8ToUtf16 turns into one character or
// one U+FFFD (the longest valid beginning of an invalid sequence); 0 for an empty view.
std::size_t Utf8CharacterLength(std::string_view utf8);

// GBK <-> UTF-8 through UTF-16, with the rules above.
std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace codepage

// The Windows calls, for code page 936 (CP_ACP), CP_UTF8 (65001); other code pages fail
// with ERROR_INVALID_PARAMETER. A length of -1 means "up to and including the NUL".
inline constexpr UINT CP_ACP = 0;
inline constexpr UINT CP_GBK = 936;
inline constexpr UINT CP_UTF8 = 65001;
inline constexpr DWORD MB_PRECOMPOSED = 0x00000001;
inline constexpr DWORD MB_ERR_INVALID_CHARS = 0x00000008;
inline constexpr DWORD WC_ERR_INVALID_CHARS = 0x00000080;  // CP_UTF8 only
inline constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x00000400;
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength,
                        LPWSTR target, int targetLength);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength,
                        LPSTR target, int targetLength, LPCSTR defaultChar, BOOL* usedDefault);
