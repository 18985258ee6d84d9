// Pieces shared by the reader and the writer of the type-library text format.
#pragma once

#include <string>
#include <string_view>

#include "oleaut/variant.h"

namespace oleaut::detail {

// Basic type names of the format ("i4", "bstr"...), both ways.
const char* BasicTypeName(VARTYPE vt);  // null when it has none
bool BasicTypeFromName(std::string_view name, VARTYPE* vt);

// A quoted string with \" \\ \n \r \t escapes.
std::string QuoteText(std::string_view text);

// The locale in which numbers are written: digits with "." and no grouping.
inline constexpr LCID kFormatLocale = 0x0409;

}  // namespace oleaut::detail
