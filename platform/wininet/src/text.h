// Small text helpers shared by the WinInet substitute.
#pragma once

#include <string>
#include <string_view>

namespace wininet {

bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);
std::string_view Trim(std::string_view text);  // spaces and tabs at both ends
std::string ToLower(std::string_view text);

}  // namespace wininet
