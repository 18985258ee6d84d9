// How long SearchAll takes on the worst inputs we could construct (one run each; the
// largest takes tens of seconds). Each run ends either
// at Boost's complexity or stack limit (the call returns the results so far) or, for
// patterns that succeed after heavy backtracking, pass after pass.
#include <benchmark/benchmark.h>

#include "bench_runtime.h"
#include "service_patterns.h"

namespace regexlib::bench {
namespace {

void RunSearch(benchmark::State& state, const char* pattern, const std::string& text) {
  Regex re(pattern);
  std::int32_t matches = 0;
  for (auto _ : state) {
    void* array = re.SearchAll(text);
    matches = ResultCount(array);
    Release(array);
  }
  state.counters["matches"] = matches;
  state.counters["bytes"] = static_cast<double>(text.size());
}

// Exponential backtracking in one pass: ends at the complexity limit.
void BM_NestedStar(benchmark::State& state) {
  RunSearch(state, "(a*)*b", std::string(static_cast<std::size_t>(state.range(0)), 'a'));
}
BENCHMARK(BM_NestedStar)->Arg(30)->Arg(1000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

// Deep alternation: ends at the stack limit.
void BM_AlternationStack(benchmark::State& state) {
  RunSearch(state, "(a|aa)*b", std::string(static_cast<std::size_t>(state.range(0)), 'a'));
}
BENCHMARK(BM_AlternationStack)->Arg(100000)->Arg(1 << 24)->Iterations(1)->Unit(benchmark::kMillisecond);

// A resolver pattern over a page of openings that never close: every opening scans to the
// end of the page (quadratic) until the complexity limit.
void BM_UnclosedKeys(benchmark::State& state) {
  RunSearch(state, app::testing::patterns::XunleiKeyPattern,
            PageOf("key\" value='", static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_UnclosedKeys)->Arg(1 << 16)->Arg(1 << 20)->Arg(1 << 24)->Iterations(1)->Unit(benchmark::kMillisecond);

// Heavy backtracking that still succeeds: every pass costs about 2^(k+1) steps before the
// "b" that ends its block matches, and there is one pass per block.
void BM_BacktrackingPerPass(benchmark::State& state) {
  const std::size_t k = static_cast<std::size_t>(state.range(0));
  RunSearch(state, "(a*)*c|b", PageOf(std::string(k, 'a') + "b", static_cast<std::size_t>(state.range(1))));
}
BENCHMARK(BM_BacktrackingPerPass)->Args({12, 1 << 12})->Args({16, 1 << 12})->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace regexlib::bench
