#include "text.h"

namespace wininet {

std::string_view Trim(std::string_view text) {
  std::size_t b = text.find_first_not_of(" \t");
  if (b == std::string_view::npos) return {};
  std::size_t e = text.find_last_not_of(" \t");
  return text.substr(b, e - b + 1);
}

std::string ToLower(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = ascii::Lower(c);
  return s;
}

}  // namespace wininet
