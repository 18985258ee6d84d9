// The program's seven patterns over any page, searched and read as the resolvers do: every
// sub-match text is a part of the page, inside the whole match.
#include <cstdint>
#include <string>

#include "app/program_texts.h"
#include "app/testing/program_test.h"
#include "fuzz_input.h"
#include "pattern_search.h"
#include "program_runtime.h"

namespace {

struct Pattern {
  const char* text;
  std::int32_t groups;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartProgramRuntime({});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using app::kTexts;
  const Pattern patterns[] = {
      {kTexts.XunleiKeyPattern, 2},    {kTexts.XunleiFilePattern, 3},  {kTexts.XunleiExtensionPattern, 2},
      {kTexts.BaiduDlinkPattern, 2},   {kTexts.BaiduFilenamePattern, 2}, {kTexts.BaiduSizePattern, 2},
      {kTexts.BaiduMd5Pattern, 2},
  };
  const std::string page = fuzz::AsText(std::string_view(reinterpret_cast<const char*>(data), size));
  app::PatternSearch search = app::StartPatternSearch();
  for (const Pattern& pattern : patterns) {
    app::SearchPattern(search, pattern.text, page.c_str());
    const std::int32_t matches = app::MatchCount(search);
    FUZZ_CHECK(matches >= 0 && static_cast<std::size_t>(matches) <= page.size());
    for (std::int32_t i = 0; i < matches; ++i) {
      const std::string whole = app::testing::TakeText(app::MatchText(search, i, page.c_str(), 0));
      FUZZ_CHECK(!whole.empty() && page.find(whole) != std::string::npos);
      for (std::int32_t group = 1; group <= pattern.groups; ++group) {
        const std::string part = app::testing::TakeText(app::MatchText(search, i, page.c_str(), group));
        FUZZ_CHECK(whole.find(part) != std::string::npos);
      }
      FUZZ_CHECK(app::testing::TakeText(app::MatchText(search, i, page.c_str(), pattern.groups + 1)).empty());
    }
  }
  app::EndPatternSearch(search);
  return 0;
}
