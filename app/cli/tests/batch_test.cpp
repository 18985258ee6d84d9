// Batch files: what is a link and what is skipped, and an unreadable file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "batch.h"

namespace cli {
namespace {

using Links = std::vector<std::string>;

TEST(ReadBatch, SkipsBlankLinesAndComments) {
  EXPECT_EQ(ReadBatch("\xEF\xBB\xBFhttp://a/1\r\n\r\n# a comment\n   \t\n  #indented comment\n  http://b/2  \nhttp://c/3"),
            (Links{"http://a/1", "http://b/2", "http://c/3"}));
  EXPECT_EQ(ReadBatch(""), Links{});
  EXPECT_EQ(ReadBatch("http://a/\xFF"), Links{"http://a/\xEF\xBF\xBD"}) << "broken UTF-8 made whole";
}

TEST(CollectLinks, InCommandLineOrderWithStandardInput) {
  const std::string path = ::testing::TempDir() + "cli_batch_test_links.txt";
  std::ofstream(path) << "# file\nhttp://f/1\n";
  std::FILE* input = std::tmpfile();
  std::fputs("http://in/1\n#x\nhttp://in/2\n", input);
  std::rewind(input);
  CollectedLinks collected = CollectLinks({{false, "http://arg/1"}, {true, "-"}, {true, path}}, input);
  std::fclose(input);
  std::filesystem::remove(path);
  EXPECT_EQ(collected.error, "");
  EXPECT_EQ(collected.links, (Links{"http://arg/1", "http://in/1", "http://in/2", "http://f/1"}));
}

TEST(CollectLinks, AnUnreadableFileIsNamed) {
  const std::pair<std::string, const char*> cases[] = {
      {"/nonexistent/links.txt", "cannot read batch file /nonexistent/links.txt: No such file or directory"},
      {::testing::TempDir(), "Is a directory"},
  };
  for (const auto& [path, message] : cases) {
    CollectedLinks collected = CollectLinks({{false, "http://a/"}, {true, path}}, stdin);
    EXPECT_NE(collected.error.find(message), std::string::npos) << collected.error;
  }
}

}  // namespace
}  // namespace cli
