// MultiByteToWideChar and WideCharToMultiByte for the system's code page (936) and UTF-8,
// with the Windows argument and buffer rules.
#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "checked_conversions.h"
#include "codepage/codepage.h"
#include "codepage/gbk_walk.h"
#include "kernel/process.h"
#include "win/errors.h"

namespace {

enum class Encoding { None, Gbk, Utf8 };

Encoding EncodingOf(UINT codePage) {
  if (codePage == CP_ACP || codePage == CP_GBK) return Encoding::Gbk;
  if (codePage == CP_UTF8) return Encoding::Utf8;
  return Encoding::None;
}

// The flags Windows accepts for each: the composition flags mean nothing for GBK and are
// taken as they are; UTF-8 takes only the "invalid characters" flag.
constexpr DWORD kMbGbkFlags = MB_PRECOMPOSED | 0x2 /*MB_COMPOSITE*/ | 0x4 /*MB_USEGLYPHCHARS*/ | MB_ERR_INVALID_CHARS;
constexpr DWORD kWcGbkFlags = 0x200 /*WC_COMPOSITECHECK*/ | 0x10 /*WC_DISCARDNS*/ | 0x20 /*WC_SEPCHARS*/ |
                              0x40 /*WC_DEFAULTCHAR*/ | WC_NO_BEST_FIT_CHARS;

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

// The size when the caller asks for it (target length 0), else the copy if it fits.
template <typename Char>
int Deliver(const std::basic_string<Char>& converted, Char* target, int targetLength) {
  if (converted.size() > static_cast<std::size_t>(INT_MAX)) return Fail(ERROR_INSUFFICIENT_BUFFER);
  int length = static_cast<int>(converted.size());
  if (targetLength == 0) return length;
  if (length > targetLength) return Fail(ERROR_INSUFFICIENT_BUFFER);
  std::memcpy(target, converted.data(), converted.size() * sizeof(Char));
  return length;
}

// The first character of a caller's default character: a lead byte takes its trail.
std::string_view FirstCharacter(LPCSTR text) {
  if (text[0] == '\0') return {text, 1};
  // text[1] is there, if only as the terminating NUL; a lead byte without a trail stands alone.
  return {text, std::max<std::size_t>(codepage::GbkCharWidth({text, 2}, 0, codepage::GbkLeads::CodePage), 1)};
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength, LPWSTR target,
                        int targetLength) {
  Encoding encoding = EncodingOf(codePage);
  if (encoding == Encoding::None || !source || sourceLength == 0 || sourceLength < -1 || targetLength < 0 ||
      (targetLength > 0 && !target)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if (flags & ~(encoding == Encoding::Gbk ? kMbGbkFlags : MB_ERR_INVALID_CHARS)) return Fail(ERROR_INVALID_FLAGS);

  std::size_t length = sourceLength == -1 ? std::strlen(source) + 1 : static_cast<std::size_t>(sourceLength);
  std::string_view bytes(source, length);
  std::u16string converted;
  bool clean = encoding == Encoding::Gbk ? codepage::DecodeGbk(bytes, converted) : codepage::DecodeUtf8(bytes, converted);
  if (!clean && (flags & MB_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
  return Deliver(converted, target, targetLength);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength, LPSTR target,
                        int targetLength, LPCSTR defaultChar, BOOL* usedDefault) {
  Encoding encoding = EncodingOf(codePage);
  if (encoding == Encoding::None || !source || sourceLength == 0 || sourceLength < -1 || targetLength < 0 ||
      (targetLength > 0 && !target)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  // UTF-8 has no default character: every character has a form.
  if (encoding == Encoding::Utf8 && (defaultChar || usedDefault)) return Fail(ERROR_INVALID_PARAMETER);
  if (flags & ~(encoding == Encoding::Gbk ? kWcGbkFlags : WC_ERR_INVALID_CHARS)) return Fail(ERROR_INVALID_FLAGS);

  std::size_t length = sourceLength == -1 ? std::char_traits<char16_t>::length(source) + 1
                                          : static_cast<std::size_t>(sourceLength);
  std::u16string_view text(source, length);
  std::string converted;
  if (encoding == Encoding::Utf8) {
    if (!codepage::EncodeUtf8(text, converted) && (flags & WC_ERR_INVALID_CHARS)) {
      return Fail(ERROR_NO_UNICODE_TRANSLATION);
    }
  } else {
    bool clean = codepage::EncodeGbk(text, defaultChar ? FirstCharacter(defaultChar) : "?", converted);
    if (usedDefault) *usedDefault = clean ? FALSE : TRUE;
  }
  return Deliver(converted, target, targetLength);
}
