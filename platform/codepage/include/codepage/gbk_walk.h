// The character walk over GBK bytes: a lead byte takes the byte after it along as its trail.
// A NUL never trails (it ends the text it stands in), and neither does the end of the bytes.
// Which bytes lead is the caller's choice, as the two rules in use differ on 0x80 and 0xFF.
#pragma once

#include <cstddef>
#include <string_view>

namespace codepage {

enum class GbkLeads {
  CodePage,  // 0x81 to 0xFE, as code page 936 has it: 0x80 (the euro sign) and 0xFF stand alone
  HighBit,   // every byte from 0x80, for walks that only need to keep pairs together
};

constexpr bool IsGbkLeadByte(unsigned char b, GbkLeads leads) {
  return leads == GbkLeads::HighBit ? b >= 0x80 : b >= 0x81 && b <= 0xFE;
}

// Bytes of the character at offset i (i < text.size()): 1 for a single byte, 2 for a lead
// byte with its trail, 0 for a lead byte with no trail (the end of the bytes, or a NUL).
constexpr std::size_t GbkCharWidth(std::string_view text, std::size_t i, GbkLeads leads) {
  if (!IsGbkLeadByte(static_cast<unsigned char>(text[i]), leads)) return 1;
  return i + 1 < text.size() && text[i + 1] != '\0' ? 2 : 0;
}

// Whether a walk that is at offset `from` steps onto offset `at` (from <= at). A byte that
// does not lead always ends a character (alone or as a trail byte), so the walk stands right
// after it; what lies between is a run of lead bytes, which the walk takes in pairs. Looks
// back only to the last byte that does not lead, so loops that call it with a rising `from`
// stay linear.
constexpr bool GbkWalkReaches(std::string_view text, std::size_t from, std::size_t at, GbkLeads leads) {
  std::size_t runStart = at;
  while (runStart > from && IsGbkLeadByte(static_cast<unsigned char>(text[runStart - 1]), leads)) --runStart;
  return (at - runStart) % 2 == 0;
}

}  // namespace codepage
