#include "gbk_extras.h"

namespace codepage {
namespace {

// One user-defined area: rows firstLead-lastLead, trails firstTrail-lastTrail (0x7F is never
// a trail), numbered row by row from `base`.
struct UserArea {
  unsigned char firstLead, lastLead, firstTrail, lastTrail;
  char16_t base;

  unsigned TrailsPerRow() const { return lastTrail - firstTrail + 1 - (Spans7F() ? 1 : 0); }
  bool Spans7F() const { return firstTrail < 0x7F && lastTrail > 0x7F; }
  unsigned Count() const { return (lastLead - firstLead + 1) * TrailsPerRow(); }
};

constexpr UserArea kUserAreas[] = {
    {0xAA, 0xAF, 0xA1, 0xFE, u'\uE000'},  // U+E000-U+E233
    {0xF8, 0xFE, 0xA1, 0xFE, u'\uE234'},  // U+E234-U+E4C5
    {0xA1, 0xA7, 0x40, 0xA0, u'\uE4C6'},  // U+E4C6-U+E765
};

}  // namespace

std::optional<char16_t> UserDefinedToUnicode(unsigned char lead, unsigned char trail) {
  for (const UserArea& area : kUserAreas) {
    if (lead < area.firstLead || lead > area.lastLead || trail < area.firstTrail || trail > area.lastTrail ||
        trail == 0x7F) {
      continue;
    }
    unsigned column = trail - area.firstTrail - (area.Spans7F() && trail > 0x7F ? 1 : 0);
    return static_cast<char16_t>(area.base + (lead - area.firstLead) * area.TrailsPerRow() + column);
  }
  return std::nullopt;
}

std::optional<unsigned> UnicodeToUserDefined(char16_t c) {
  for (const UserArea& area : kUserAreas) {
    if (c < area.base || c >= area.base + area.Count()) continue;
    unsigned index = c - area.base;
    unsigned lead = area.firstLead + index / area.TrailsPerRow();
    unsigned trail = area.firstTrail + index % area.TrailsPerRow();
    if (area.Spans7F() && trail >= 0x7F) ++trail;
    return lead << 8 | trail;
  }
  return std::nullopt;
}

}  // namespace codepage
