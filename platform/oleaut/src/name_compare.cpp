#include "name_compare.h"

#include "codepage/codepage.h"
#include "win/ascii_case.h"

namespace oleaut::detail {

// ASCII case, and beyond it the Latin letters: type libraries' names fold those too.
char16_t FoldCase(char16_t c) {
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
  return ascii::Upper(c);
}

bool NamesEqual(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

std::u16string FromUtf8(std::string_view text) { return codepage::Utf8ToUtf16(text); }
std::string ToUtf8(std::u16string_view text) { return codepage::Utf16ToUtf8(text); }

}  // namespace oleaut::detail
