// The command line: every option in its spellings, and every usage error.
#include <gtest/gtest.h>

#include <vector>

#include "options.h"

namespace cli {
namespace {

ParsedOptions Parse(std::vector<std::string> arguments) { return ParseOptions(arguments); }

TEST(Options, Spellings) {
  struct Case {
    std::vector<std::string> arguments;
    OutputForm form;
    std::optional<Service> service;
    bool quiet, verbose;
  };
  const Case cases[] = {
      {{"L"}, OutputForm::Lines, std::nullopt, false, false},
      {{"-g", "L"}, OutputForm::Url, std::nullopt, false, false},
      {{"-j", "L", "-j"}, OutputForm::Json, std::nullopt, false, false},
      {{"--print", "curl", "L"}, OutputForm::Curl, std::nullopt, false, false},
      {{"--print=aria2", "L"}, OutputForm::Aria2, std::nullopt, false, false},
      {{"-s", "baidu", "L"}, OutputForm::Lines, Service::Baidu, false, false},
      {{"-s360", "L"}, OutputForm::Lines, Service::Yunpan360, false, false},
      {{"--service=xunlei", "L"}, OutputForm::Lines, Service::Xunlei, false, false},
      {{"-gqs", "baidu", "L"}, OutputForm::Url, Service::Baidu, true, false},
      {{"L", "--verbose"}, OutputForm::Lines, std::nullopt, false, true},
      {{"--quiet", "L"}, OutputForm::Lines, std::nullopt, true, false},
  };
  for (const Case& c : cases) {
    ParsedOptions parsed = Parse(c.arguments);
    SCOPED_TRACE(c.arguments[0]);
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.form, c.form);
    EXPECT_EQ(parsed.options.service, c.service);
    EXPECT_EQ(parsed.options.quiet, c.quiet);
    EXPECT_EQ(parsed.options.verbose, c.verbose);
    ASSERT_EQ(parsed.options.sources.size(), 1u);
    EXPECT_EQ(parsed.options.sources[0].text, "L");
  }
}

TEST(Options, LinksAndBatchFilesKeepTheirOrder) {
  ParsedOptions parsed = Parse({"A", "-a", "f1", "--batch-file=f2", "-a-", "--", "-B", "--help"});
  ASSERT_EQ(parsed.error, "");
  const std::vector<std::pair<bool, std::string>> expected = {
      {false, "A"}, {true, "f1"}, {true, "f2"}, {true, "-"}, {false, "-B"}, {false, "--help"}};
  ASSERT_EQ(parsed.options.sources.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(parsed.options.sources[i].batchFile, expected[i].first) << i;
    EXPECT_EQ(parsed.options.sources[i].text, expected[i].second) << i;
  }
  EXPECT_FALSE(parsed.options.help) << "after --, everything is a link";
}

TEST(Options, ProxyGivenOrEmpty) {
  EXPECT_EQ(Parse({"--proxy", "http://127.0.0.1:3128", "L"}).options.proxy, "http://127.0.0.1:3128");
  EXPECT_EQ(Parse({"--proxy=", "L"}).options.proxy, "");
  EXPECT_EQ(Parse({"L"}).options.proxy, std::nullopt);
}

TEST(Options, HelpAndVersionNeedNoLink) {
  EXPECT_TRUE(Parse({"-h"}).options.help);
  EXPECT_TRUE(Parse({"--help"}).options.help);
  EXPECT_TRUE(Parse({"--version"}).options.version);
  EXPECT_EQ(Parse({"--version"}).error, "");
}

TEST(Options, UsageErrors) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{}, "no link given"},
      {{"-q"}, "no link given"},
      {{"--frobnicate", "L"}, "unknown option --frobnicate"},
      {{"-x", "L"}, "unknown option -x"},
      {{"-gx", "L"}, "unknown option -x"},
      {{"L", "-s"}, "-s needs a value"},
      {{"L", "--service"}, "--service needs a value"},
      {{"-s", "dropbox", "L"}, "unknown service \"dropbox\" (xunlei, baidu or 360)"},
      {{"--print", "wget", "L"}, "unknown --print form \"wget\" (curl or aria2)"},
      {{"--get-url=yes", "L"}, "--get-url takes no value"},
      {{"-g", "-j", "L"}, "-g, -j and --print are alternatives; give one"},
      {{"-j", "--print", "curl", "L"}, "-g, -j and --print are alternatives; give one"},
      {{"-q", "-v", "L"}, "-q and -v are alternatives; give one"},
      {{"-a"}, "-a needs a value"},
      {{"--version=2"}, "--version takes no value"},
  };
  for (const auto& [arguments, message] : cases) {
    EXPECT_EQ(Parse(arguments).error, message) << (arguments.empty() ? "(none)" : arguments[0]);
  }
}

}  // namespace
}  // namespace cli
