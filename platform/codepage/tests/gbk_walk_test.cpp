// The GBK character walk under both lead-byte rules.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "codepage/gbk_walk.h"

namespace {

using codepage::GbkCharWidth;
using codepage::GbkLeads;
using codepage::GbkWalkReaches;

TEST(GbkWalk, WidthsUnderEitherRule) {
  using namespace std::string_literals;
  struct Case {
    std::string text;
    std::size_t at, codePage, highBit;
  } cases[] = {
      {"a", 0, 1, 1},
      {"\xB0\xA1", 0, 2, 2},
      {"\x80" "a", 0, 1, 2},   // the euro sign leads only under the high-bit rule
      {"\xFF" "a", 0, 1, 2},
      {"\xB0", 0, 0, 0},       // no trail at the end
      {"\xB0\0a"s, 0, 0, 0},   // nor a NUL
      {"\xB0" "b", 1, 1, 1},    // a trail byte asked alone is a single byte
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GbkCharWidth(c.text, c.at, GbkLeads::CodePage), c.codePage) << c.at << " of " << c.text.size();
    EXPECT_EQ(GbkCharWidth(c.text, c.at, GbkLeads::HighBit), c.highBit) << c.at << " of " << c.text.size();
  }
}

TEST(GbkWalk, ReachesOnlyCharacterStarts) {
  const std::string_view text = "a\xB0\xA1\xB0" "b" "c";  // a, one pair, a pair with a letter trail, c
  const bool expected[] = {true, true, false, true, false, true};
  for (std::size_t at = 0; at < text.size(); ++at) {
    EXPECT_EQ(GbkWalkReaches(text, 0, at, GbkLeads::CodePage), expected[at]) << at;
    EXPECT_EQ(GbkWalkReaches(text, 0, at, GbkLeads::HighBit), expected[at]) << at;
  }
  EXPECT_TRUE(GbkWalkReaches("\x80" "a", 0, 1, GbkLeads::CodePage));
  EXPECT_FALSE(GbkWalkReaches("\x80" "a", 0, 1, GbkLeads::HighBit));
}

}  // namespace
