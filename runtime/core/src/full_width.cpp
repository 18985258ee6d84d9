#include "full_width.h"

#include "text_leads.h"

namespace runtime::core {
namespace {

// The half-width byte of a double-byte character, or 0 when it has none.
char HalfWidthOf(unsigned char lead, unsigned char trail) {
  if (lead == 0xA1) {
    switch (trail) {
      case 0xA1: return ' ';  // 　 ideographic space
      case 0xAB: return '~';  // ～
      case 0xEE:              // ☆
      case 0xEF: return '*';  // ★
      default: return 0;
    }
  }
  // Row A3 holds the full-width forms of "!" to "~".
  if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return static_cast<char>(trail - 0x80);
  return 0;
}

}  // namespace

std::string FoldFullWidth(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t width = codepage::GbkCharWidth(text, i, kTextLeads);
    if (width == 0) {  // a lead byte at the end stays as it is
      folded.push_back(text[i]);
      break;
    }
    char half = 0;
    if (width == 2) half = HalfWidthOf(static_cast<unsigned char>(text[i]), static_cast<unsigned char>(text[i + 1]));
    if (half != 0) {
      folded.push_back(half);
    } else {
      folded.append(text.substr(i, width));
    }
    i += width;
  }
  return folded;
}

}  // namespace runtime::core
