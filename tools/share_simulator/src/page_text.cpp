// Small text pieces that all three pages use.
#include <cstdio>

#include "pages.h"

namespace share_simulator {

std::string HtmlEscape(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\'': escaped += "&#39;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::string SizeText(std::uint64_t size) {
  static constexpr const char* kUnits[] = {"B", "KB", "MB", "GB", "TB"};
  double value = static_cast<double>(size);
  std::size_t unit = 0;
  while (value >= 1024 && unit + 1 < std::size(kUnits)) {
    value /= 1024;
    ++unit;
  }
  char text[32];
  if (unit == 0) {
    std::snprintf(text, sizeof text, "%lluB", static_cast<unsigned long long>(size));
  } else {
    std::snprintf(text, sizeof text, "%.2f%s", value, kUnits[unit]);
  }
  return text;
}

}  // namespace share_simulator
