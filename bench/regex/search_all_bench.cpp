// SearchAll with the resolvers' patterns over a 1 MiB share page, against a plain Boost
// regex_search loop over the same input in the same run. The goal is at most 10% slower.
// Freeing the returned array is the receiver's work and is left out of the timing.
// Run: scripts/bench.sh regex --benchmark_filter='SearchAll|BoostLoop' (compare CPU times).
#include <benchmark/benchmark.h>

#include <boost/regex.hpp>

#include "bench_runtime.h"
#include "service_patterns.h"

namespace regexlib::bench {
namespace {

using namespace app::testing::patterns;

struct PatternOnPage {
  const char* name;
  const char* pattern;
  const char* fixture;
};

const PatternOnPage Cases[] = {
    {"XunleiKey", XunleiKeyPattern, "xunlei_share.html"},
    {"XunleiFile", XunleiFilePattern, "xunlei_share.html"},
    {"XunleiExtension", XunleiExtensionPattern, "xunlei_share.html"},
    {"BaiduDlink", BaiduDlinkPattern, "baidu_share.html"},
    {"BaiduFilename", BaiduFilenamePattern, "baidu_share.html"},
    {"BaiduSize", BaiduSizePattern, "baidu_share.html"},
    {"BaiduMd5", BaiduMd5Pattern, "baidu_share.html"},
};

constexpr std::size_t PageSize = 1u << 20;

const std::string& Page(const char* fixture) {
  static const std::string xunlei = PageOf(ReadFixture("xunlei_share.html"), PageSize);
  static const std::string baidu = PageOf(ReadFixture("baidu_share.html"), PageSize);
  return std::string(fixture) == "xunlei_share.html" ? xunlei : baidu;
}

void BM_SearchAll(benchmark::State& state, const PatternOnPage& c) {
  const std::string& page = Page(c.fixture);
  Regex re(c.pattern);
  std::int32_t matches = 0;
  for (auto _ : state) {
    void* array = re.SearchAll(page);
    state.PauseTiming();
    matches = ResultCount(array);
    Release(array);
    state.ResumeTiming();
  }
  state.counters["matches"] = matches;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

// What a program would write with Boost directly: pass by pass from the end of the last
// match, keeping each match's offsets.
void BM_BoostLoop(benchmark::State& state, const PatternOnPage& c) {
  const std::string& page = Page(c.fixture);
  const boost::regex re(c.pattern, boost::regex::perl);
  std::size_t matches = 0;
  for (auto _ : state) {
    std::vector<std::vector<std::pair<std::ptrdiff_t, std::ptrdiff_t>>> found;
    const char* begin = page.data();
    const char* end = begin + page.size();
    const char* pos = begin;
    boost::match_results<const char*> m;
    while (boost::regex_search(pos, end, m, re, boost::match_default, pos)) {
      auto& offsets = found.emplace_back();
      for (std::size_t i = 0; i < m.size(); ++i) offsets.emplace_back(m[static_cast<int>(i)].first - begin, m.length(static_cast<int>(i)));
      if (m[0].second == pos) break;  // the program's patterns never match empty
      pos = m[0].second;
    }
    matches = found.size();
    benchmark::DoNotOptimize(found.data());
  }
  state.counters["matches"] = static_cast<double>(matches);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

[[maybe_unused]] const bool registered = [] {
  for (const PatternOnPage& c : Cases) {
    benchmark::RegisterBenchmark((std::string("SearchAll/") + c.name).c_str(), BM_SearchAll, c)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((std::string("BoostLoop/") + c.name).c_str(), BM_BoostLoop, c)
        ->Unit(benchmark::kMicrosecond);
  }
  return true;
}();

}  // namespace
}  // namespace regexlib::bench
