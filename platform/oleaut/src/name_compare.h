// Names of members, types and classes compare without regard to case (ASCII letters and
// the Latin letters of U+00C0 to U+00FE, as names here are written).
#pragma once

#include <string>
#include <string_view>

namespace oleaut::detail {

char16_t FoldCase(char16_t c);
bool NamesEqual(std::u16string_view a, std::u16string_view b);

// UTF-8 <-> UTF-16 for names and texts of the type-library format and messages.
std::u16string FromUtf8(std::string_view text);
std::string ToUtf8(std::u16string_view text);

}  // namespace oleaut::detail
