// Full-width forms of ASCII characters in GBK, folded to their single bytes before a text
// is read as a number (so that "１２" reads as 12).
#pragma once

#include <string>
#include <string_view>

namespace runtime::core {

std::string FoldFullWidth(std::string_view text);

}  // namespace runtime::core
