// Small text helpers shared by the WinInet substitute.
#pragma once

#include <string>
#include <string_view>

#include "win/ascii_case.h"

namespace wininet {

using ascii::EqualsIgnoreCase;
using ascii::StartsWithIgnoreCase;
std::string_view Trim(std::string_view text);  // spaces and tabs at both ends
std::string ToLower(std::string_view text);

}  // namespace wininet
