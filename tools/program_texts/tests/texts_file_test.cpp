// Texts files: what each form of text gives in GBK, and the faults a file can have.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "texts_file.h"

namespace {

using program_texts::NamedText;

std::vector<NamedText> Read(const std::string& content) {
  std::string path = (std::filesystem::temp_directory_path() / ("texts_" + std::to_string(::getpid()) + ".txt")).string();
  std::ofstream(path, std::ios::binary) << content;
  std::vector<NamedText> texts;
  try {
    program_texts::ReadTextsFile(path, texts);
  } catch (...) {
    std::filesystem::remove(path);
    throw;
  }
  std::filesystem::remove(path);
  return texts;
}

TEST(TextsFile, EachFormGivesItsGbkBytes) {
  struct Case {
    const char* line;
    std::string gbk;
  } cases[] = {
      {"A \"plain\"", "plain"},
      {"A \"\\r\\n\\\\\\\"\\x1A\"", "\r\n\\\"\x1A"},
      {"A \"解析：\"", "\xBD\xE2\xCE\xF6\xA3\xBA"},
      {"A \"\\xE4中\"", "\xE4\xD6\xD0"},
      {"A R\"re(key\\x22 value='(.*?)('>))re\"", "key\\x22 value='(.*?)('>)"},
      {"  # comment\n\nA \"\"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::vector<NamedText> texts = Read(c.line);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].name, "A");
    EXPECT_EQ(texts[0].gbk, c.gbk);
  }
}

TEST(TextsFile, FaultsNameTheLine) {
  const char* faults[] = {"A \"open", "A plain", "\"no name\"", "A \"x\" B", "A \"\\q\"", "A \"\\x0\"",
                          "A \"\\x00\"", "A \"x\"\nA \"y\"", "A R\"(open", "A \"\xE2\x82\"", "A \"\xF0\x9F\x98\x80\""};
  for (const char* fault : faults) {
    SCOPED_TRACE(fault);
    try {
      Read(fault);
      ADD_FAILURE() << "accepted";
    } catch (const program_texts::TextsError& e) {
      EXPECT_THAT(e.what(), testing::MatchesRegex(".*texts_[0-9]+\\.txt:[12]: .*"));
    }
  }
}

TEST(TextsFile, TheDefinitionHoldsEveryByteInOrder) {
  std::vector<NamedText> texts = {{"One", "a\\"}, {"Two", "\xB0\x41"}};
  EXPECT_THAT(program_texts::HeaderSource(texts), testing::HasSubstr("char One[3];\n  char Two[3];\n"));
  EXPECT_THAT(program_texts::DefinitionSource(texts), testing::HasSubstr("\"\\141\\134\",\n    \"\\260\\101\",\n"));
}

}  // namespace
