// LHashValOfNameSys. The expected values were worked out by hand from the rule: start at
// 0x0DEADBEE, multiply by 37 and add each folded byte, keep (sum mod 65599) in the low word
// and the locale's table number in the high word. "Type" folds to T U P E (Y counts as U):
// 0x02F1C9BA, 0x6CF22837, 0xBEFFD043, 0x9AF919F4 = 2600016372; 2600016372 mod 65599 = 7.
#include <gtest/gtest.h>

#include "oleaut/typelib.h"

namespace {

TEST(NameHash, ValuesForTheChineseAndEnglishTables) {
  struct Case {
    SYSKIND sys;
    LCID lcid;
    const char16_t* name;
    ULONG hash;
  } const cases[] = {
      {SYS_WIN32, 0x0804, u"Type", 0x00700007},
      {SYS_WIN32, 0x0804, u"TYPE", 0x00700007},
      {SYS_WIN32, 0x0804, u"tYpE", 0x00700007},
      {SYS_WIN32, 0x0804, u"Position", 0x0070DD1B},
      {SYS_WIN32, 0x0804, u"ReadText", 0x0070EA62},
      {SYS_WIN32, 0x0804, u"Wy", 0x00705F98},
      {SYS_WIN32, 0x0804, u"vu", 0x00705F98},  // W counts as V, Y as U
      {SYS_WIN32, 0x0804, u"a/b", 0x00706921},
      {SYS_WIN32, 0x0804, u"\u4E2D", 0x007052D5},  // GBK D6 D0, both bytes count as 0
      {SYS_WIN32, 0x0409, u"Type", 0x00100007},
      {SYS_MAC, 0x0409, u"Type", 0x00110007},
      {SYS_WIN32, LOCALE_USER_DEFAULT, u"Type", 0x00700007},
      {SYS_WIN32, LOCALE_SYSTEM_DEFAULT, u"Type", 0x00700007},
      {SYS_WIN32, 0x0004, u"Type", 0x00700007},  // Chinese without a sublanguage
      {SYS_WIN32, 0x0804, u"", 0x00707015},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LHashValOfNameSys(c.sys, c.lcid, c.name), c.hash)
        << std::hex << c.lcid << " " << static_cast<int>(c.name[0]);
  }
  EXPECT_EQ(LHashValOfNameSys(SYS_WIN32, 0x0804, nullptr), 0u);
  EXPECT_EQ(LHashValOfName(0x0804, u"Type"), 0x00700007u);
  // The byte form: any double-byte character hashes alike in the Chinese table.
  EXPECT_EQ(LHashValOfNameSysA(SYS_WIN32, 0x0804, "\xD6\xD0"), 0x007052D5u);
  EXPECT_EQ(LHashValOfNameSysA(SYS_WIN32, 0x0804, "\x81\x81"), 0x007052D5u);
  EXPECT_NE(LHashValOfNameSysA(SYS_WIN32, 0x0409, "\xD6\xD0"), 0x001052D5u);
  EXPECT_EQ(WHashValOfLHashVal(0x00700007), 7);
}

TEST(Locale, TheUserLocaleIsChinese) {
  EXPECT_EQ(GetUserDefaultLCID(), 0x0804u);
  const std::pair<LCID, LCID> cases[] = {
      {LOCALE_USER_DEFAULT, 0x0804}, {LOCALE_SYSTEM_DEFAULT, 0x0804}, {LOCALE_NEUTRAL, 0x0804},
      {0x0004, 0x0804},              {0x0009, 0x0409},                {0x0C0A, 0x0C0A},
      {LOCALE_INVARIANT, LOCALE_INVARIANT},
  };
  for (const auto& [given, converted] : cases) {
    EXPECT_EQ(ConvertDefaultLocale(given), converted) << std::hex << given;
  }
}

}  // namespace
