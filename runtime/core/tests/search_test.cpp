// Finding, replacing and splitting: the cases that matter, and the fast searches checked
// against the plain character walk on many generated texts.
#include <gtest/gtest.h>

#include <random>

#include "core_call.h"

namespace core_test {
namespace {

namespace command = runtime::core::command;
using runtime::BoolArg;
using runtime::IntArg;
using runtime::OmittedArg;

// ---- The plain walk, step by step, as the commands are meant to behave ----

bool Lead(char c) { return static_cast<unsigned char>(c) >= 0x80; }
char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool MatchesAt(std::string_view text, std::size_t at, std::string_view needle, bool ignoreCase) {
  for (std::size_t i = 0; i < needle.size(); ++i) {
    if (!ignoreCase || Lead(needle[i])) {
      if (text[at + i] != needle[i]) return false;
      if (ignoreCase && ++i < needle.size() && text[at + i] != needle[i]) return false;
    } else if (Fold(text[at + i]) != Fold(needle[i])) {
      return false;
    }
  }
  return true;
}

int ModelFind(std::string_view text, std::string_view needle, int start, bool ignoreCase) {
  std::size_t i = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
  if (i >= text.size()) return -1;
  if (needle.empty()) return 1;
  while (text.size() - i >= needle.size()) {
    if (MatchesAt(text, i, needle, ignoreCase)) return static_cast<int>(i + 1);
    if (Lead(text[i]) && i + 1 == text.size()) return -1;
    i += Lead(text[i]) ? 2 : 1;
  }
  return -1;
}

std::string ModelReplace(std::string_view text, std::string_view find, std::string_view replacement, int start,
                         int count, bool caseSensitive) {
  const std::size_t s = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
  if (text.empty() || find.empty() || s >= text.size() || count == 0) return std::string(text);
  std::string out(text.substr(0, s));
  std::size_t i = s;
  int made = 0;
  while (text.size() - i >= find.size()) {
    if (MatchesAt(text, i, find, !caseSensitive)) {
      out += replacement;
      i += find.size();
      if (++made == count) break;
    } else if (Lead(text[i])) {
      if (i + 1 == text.size()) {
        i = text.size();  // dropped
        break;
      }
      out += text.substr(i, 2);
      i += 2;
    } else {
      out += text[i++];
    }
  }
  out += text.substr(i);
  return out;
}

std::vector<std::string> ModelSplit(std::string_view text, std::string_view delimiter, int maxParts) {
  std::vector<std::string> parts;
  if (text.empty() || maxParts == 0) return parts;
  if (delimiter.empty()) return {std::string(text)};
  std::size_t begin = 0;
  std::size_t i = 0;
  while (text.size() - i >= delimiter.size()) {
    if (text.compare(i, delimiter.size(), delimiter) == 0) {
      parts.emplace_back(text.substr(begin, i - begin));
      i += delimiter.size();
      begin = i;
      if (static_cast<int>(parts.size()) == maxParts) return parts;
    } else if (Lead(text[i])) {
      if (i + 1 == text.size()) break;
      i += 2;
    } else {
      ++i;
    }
  }
  if (begin < text.size()) parts.emplace_back(text.substr(begin));
  return parts;
}

// Texts from a few bytes that make every kind of boundary likely: letters of both cases,
// lead bytes, a trail byte that looks like a letter, spaces.
std::string RandomText(std::mt19937& random, std::size_t maxLength) {
  static constexpr char kBytes[] = {'a', 'b', 'A', 'B', ',', ' ', '\xB0', '\xA1', '\xC4'};
  std::string text(std::uniform_int_distribution<std::size_t>(0, maxLength)(random), ' ');
  for (char& c : text) c = kBytes[std::uniform_int_distribution<std::size_t>(0, sizeof kBytes - 1)(random)];
  return text;
}

// ---- FindText ----

struct FindCase {
  const char* text;
  const char* needle;
  CommandArg start;
  CommandArg ignoreCase;
  int expected;
};

TEST(FindText, FindsWhereTheWalkStands) {
  const FindCase cases[] = {
      {"hello world", "o", OmittedArg, OmittedArg, 5},
      {"hello world", "o", IntArg(6), OmittedArg, 8},
      {"hello world", "world", IntArg(0), OmittedArg, 7},  // start below 1: from the first byte
      {"hello world", "h", IntArg(-4), OmittedArg, 1},
      {"hello world", "d", IntArg(11), OmittedArg, 11},
      {"hello world", "d", IntArg(12), OmittedArg, -1},  // start beyond the text
      {"hello world", "xyz", OmittedArg, OmittedArg, -1},
      {"hello", "hello!", OmittedArg, OmittedArg, -1},
      {"abc", "", OmittedArg, OmittedArg, 1},  // an empty needle
      {"abc", "", IntArg(3), OmittedArg, 1},
      {"abc", "", IntArg(4), OmittedArg, -1},
      {"", "", OmittedArg, OmittedArg, -1},
      {"", "a", OmittedArg, OmittedArg, -1},
      // B0 62 is one character: the "b" inside it is not found, the one after it is.
      {"\xB0\x62\x62", "b", OmittedArg, OmittedArg, 3},
      {"\xB0\x62", "b", OmittedArg, OmittedArg, -1},
      {"x\xD6\xD0\xCE\xC4", "\xD0\xCE", OmittedArg, OmittedArg, -1},  // across two characters
      {"x\xD6\xD0\xCE\xC4", "\xCE\xC4", OmittedArg, OmittedArg, 4},
      // A start inside a character: the walk begins there all the same.
      {"\xD6\xD0\xCE\xC4", "\xD0\xCE", IntArg(2), OmittedArg, 2},
      // A lead byte before the NUL is compared, then ends the search.
      {"ab\xB0", "\xB0", OmittedArg, OmittedArg, 3},
      {"ab\xB0", "\xB0x", OmittedArg, OmittedArg, -1},
      // Case is ignored only when the fourth argument is exactly 1.
      {"Set-Cookie: a", "set-cookie: ", IntArg(1), BoolArg(true), 1},
      {"Set-Cookie: a", "set-cookie: ", IntArg(1), BoolArg(false), -1},
      {"Set-Cookie: a", "set-cookie: ", IntArg(1), IntArg(2), -1},
      {"ABC", "b", OmittedArg, IntArg(1), 2},
      // Ignoring case never equates two double-byte characters whose trail bytes differ in
      // case (B0 41 and B0 61), nor finds a letter inside a character.
      {"\xB0\x41", "\xB0\x61", OmittedArg, BoolArg(true), -1},
      {"\xB0\x41", "\xB0\x41", OmittedArg, BoolArg(true), 1},
      {"\xB0\x41x", "X", OmittedArg, BoolArg(true), 3},
      {"\xB0\x41", "a", OmittedArg, BoolArg(true), -1},
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(CallInt(command::FindText, {Text(c.text), Text(c.needle), c.start, c.ignoreCase}), c.expected)
        << "'" << c.text << "' for '" << c.needle << "' from " << c.start.dataLow;
  }
}

TEST(FindText, AgreesWithThePlainWalk) {
  std::mt19937 random(20240601);
  for (int round = 0; round < 20000; ++round) {
    const std::string text = RandomText(random, 24);
    std::string needle = RandomText(random, 3);
    if (round % 3 == 0 && !text.empty()) {  // often a piece of the text itself
      const std::size_t at = random() % text.size();
      needle = text.substr(at, 1 + random() % 3);
    }
    const int start = static_cast<int>(random() % 6) - 1;
    const bool ignoreCase = round % 2 == 1;
    ASSERT_EQ(CallInt(command::FindText, {Text(text.c_str()), Text(needle.c_str()), IntArg(start),
                                          BoolArg(ignoreCase)}),
              ModelFind(text, needle, start, ignoreCase))
        << "text '" << text << "' needle '" << needle << "' start " << start << " ignoreCase " << ignoreCase;
  }
}

// ---- ReplaceSubtext ----

struct ReplaceCase {
  const char* text;
  const char* find;
  CommandArg replacement;
  CommandArg start;
  CommandArg count;
  CommandArg caseSensitive;
  const char* expected;
};

TEST(ReplaceSubtext, ReplacesAsTheWalkMeetsMatches) {
  const ReplaceCase cases[] = {
      {"a-b-c", "-", Text("+"), OmittedArg, OmittedArg, BoolArg(true), "a+b+c"},
      {"a-b-c", "-", OmittedArg, OmittedArg, OmittedArg, OmittedArg, "abc"},  // replacement left out: removed
      {"a-b-c", "-", Text("+"), OmittedArg, IntArg(1), BoolArg(true), "a+b-c"},
      {"a-b-c", "-", Text("+"), IntArg(3), IntArg(1), BoolArg(true), "a-b+c"},  // first one at or after start
      {"a-b-c", "-", Text("+"), IntArg(9), OmittedArg, BoolArg(true), "a-b-c"},  // start beyond the text
      {"a-b-c", "-", Text("+"), OmittedArg, IntArg(0), BoolArg(true), "a-b-c"},
      {"a-b-c", "-", Text("+"), OmittedArg, IntArg(-7), BoolArg(true), "a+b+c"},  // negative: all
      {"a-b-c", "", Text("+"), OmittedArg, OmittedArg, BoolArg(true), "a-b-c"},
      {"", "-", Text("+"), OmittedArg, OmittedArg, BoolArg(true), ""},
      {"aaaa", "aa", Text("a"), OmittedArg, OmittedArg, BoolArg(true), "aa"},  // no overlaps, no re-search
      {"xx", "x", Text("xx"), OmittedArg, OmittedArg, BoolArg(true), "xxxx"},
      {"ABab", "ab", Text("."), OmittedArg, OmittedArg, OmittedArg, ".."},  // case ignored by default
      {"ABab", "ab", Text("."), OmittedArg, OmittedArg, BoolArg(false), ".."},
      {"ABab", "ab", Text("."), OmittedArg, OmittedArg, BoolArg(true), "AB."},
      // Characters are stepped over whole: the "b" inside B0 62 stays.
      {"\xB0\x62\x62", "b", Text("!"), OmittedArg, OmittedArg, BoolArg(true), "\xB0\x62!"},
      {"\xB0\x41\x41", "a", Text("!"), OmittedArg, OmittedArg, OmittedArg, "\xB0\x41!"},
      // A lead byte at the end, met by a one-byte needle that does not match, is dropped;
      // a longer needle stops the walk before it, and the byte stays with the rest.
      {"a-\xB0", "-", Text("+"), OmittedArg, OmittedArg, BoolArg(true), "a+"},
      {"a--\xB0", "--", Text("+"), OmittedArg, OmittedArg, BoolArg(true), "a+\xB0"},
      {"a-b\xB0", "-", Text("+"), OmittedArg, IntArg(1), BoolArg(true), "a+b\xB0"},  // the count stopped it
      {"#####", "#####", Text("{\"a\":1}"), OmittedArg, OmittedArg, BoolArg(true), "{\"a\":1}"},
  };
  for (const ReplaceCase& c : cases) {
    EXPECT_EQ(CallText(command::ReplaceSubtext,
                       {Text(c.text), Text(c.find), c.replacement, c.start, c.count, c.caseSensitive}),
              c.expected)
        << "'" << c.text << "' find '" << c.find << "'";
  }
}

TEST(ReplaceSubtext, AgreesWithThePlainWalk) {
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    const std::string text = RandomText(random, 24);
    const std::string find = round % 4 == 0 ? std::string("\xB0") : RandomText(random, 3);
    const std::string replacement = RandomText(random, 3);
    const int start = static_cast<int>(random() % 6) - 1;
    const int count = static_cast<int>(random() % 4) - 1;
    const bool caseSensitive = round % 2 == 0;
    ASSERT_EQ(CallText(command::ReplaceSubtext, {Text(text.c_str()), Text(find.c_str()), Text(replacement.c_str()),
                                                 IntArg(start), IntArg(count), BoolArg(caseSensitive)}),
              ModelReplace(text, find, replacement, start, count, caseSensitive))
        << "text '" << text << "' find '" << find << "' start " << start << " count " << count;
  }
}

// ---- SplitText ----

struct SplitCase {
  const char* text;
  CommandArg delimiter;
  CommandArg maxParts;
  std::vector<std::string> expected;
};

TEST(SplitText, CutsAtEachDelimiterTheWalkMeets) {
  const SplitCase cases[] = {
      {"a,b,c", OmittedArg, OmittedArg, {"a", "b", "c"}},
      {"a,,b", OmittedArg, OmittedArg, {"a", "", "b"}},
      {"a,b,", OmittedArg, OmittedArg, {"a", "b"}},  // no empty last element
      {",a", OmittedArg, OmittedArg, {"", "a"}},      // but an empty first one
      {",", OmittedArg, OmittedArg, {""}},
      {"", OmittedArg, OmittedArg, {}},
      {"abc", OmittedArg, OmittedArg, {"abc"}},
      {"a,b", OmittedArg, IntArg(1), {"a"}},
      {"a,b,c", OmittedArg, IntArg(2), {"a", "b"}},  // the rest is dropped
      {"a,b", OmittedArg, IntArg(5), {"a", "b"}},
      {"a,b", OmittedArg, IntArg(0), {}},
      {"a,b", OmittedArg, IntArg(-1), {}},  // a given count below 0 counts as 0
      {"a,b", Text(""), OmittedArg, {"a,b"}},
      {"a::b::", Text("::"), OmittedArg, {"a", "b"}},
      {"a\r\nb", Text("\r\n"), OmittedArg, {"a", "b"}},
      // The delimiter byte inside a double-byte character does not cut.
      {"\xB0,x,y", OmittedArg, OmittedArg, {"\xB0,x", "y"}},
      {"x,\xB0", OmittedArg, OmittedArg, {"x", "\xB0"}},  // a lead byte at the end stays in the rest
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(TakeTextArray(Call(command::SplitText, {Text(c.text), c.delimiter, c.maxParts})), c.expected)
        << "'" << c.text << "'";
  }
}

TEST(SplitText, AgreesWithThePlainWalk) {
  std::mt19937 random(99);
  for (int round = 0; round < 10000; ++round) {
    const std::string text = RandomText(random, 24);
    const std::string delimiter = RandomText(random, 2);
    const int maxParts = static_cast<int>(random() % 5) - 1;
    const CommandArg limit = maxParts < 0 ? OmittedArg : IntArg(maxParts);
    ASSERT_EQ(TakeTextArray(Call(command::SplitText, {Text(text.c_str()), Text(delimiter.c_str()), limit})),
              ModelSplit(text, delimiter, maxParts))
        << "text '" << text << "' delimiter '" << delimiter << "' maxParts " << maxParts;
  }
}

}  // namespace
}  // namespace core_test
