// Run with scripts/bench.sh core.
//
// Dispatch: the same command called directly and through the entry table's CallCoreCommand;
// the difference of the two is what dispatch adds to a call.
// FindText: over 1 MiB of ASCII and of GBK text with the needle at the very end, against
// std::string_view::find on the same bytes.
// ReplaceSubtext and SplitText: over 1 MiB and 2 MiB of the same kind of text; the 2 MiB
// time should be about twice the 1 MiB time.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>
#include <string>
#include <string_view>

#include "codepage/gbk_walk.h"
#include "runtime/core/commands.h"
#include "runtime/entry_table.h"
#include "runtime/frame.h"
#include "runtime/values.h"

namespace {

using runtime::CommandArg;
using runtime::CommandResult;

constexpr std::size_t kMiB = 1 << 20;

// Common GBK characters: 的 一 是 在 不 了 有 人 这 中 大 为 上 个 国 我.
constexpr const char* kGbkCharacters[] = {"\xB5\xC4", "\xD2\xBB", "\xCA\xC7", "\xD4\xDA", "\xB2\xBB", "\xC1\xCB",
                                          "\xD3\xD0", "\xC8\xCB", "\xD5\xE2", "\xD6\xD0", "\xB4\xF3", "\xCE\xAA",
                                          "\xC9\xCF", "\xB8\xF6", "\xB9\xFA", "\xCE\xD2"};

// Lower-case words and spaces, with a comma now and then.
std::string AsciiText(std::size_t length) {
  std::mt19937 random(1);
  std::string text;
  text.reserve(length);
  while (text.size() < length) {
    const std::size_t word = 2 + random() % 8;
    for (std::size_t i = 0; i < word; ++i) text.push_back(static_cast<char>('a' + random() % 26));
    text.push_back(random() % 4 == 0 ? ',' : ' ');
  }
  text.resize(length);
  return text;
}

// Mostly double-byte characters, some ASCII words and commas between them.
std::string GbkText(std::size_t length) {
  std::mt19937 random(2);
  std::string text;
  text.reserve(length + 2);
  while (text.size() < length) {
    if (random() % 8 == 0) {
      text += random() % 2 == 0 ? "," : " abc ";
    } else {
      text += kGbkCharacters[random() % std::size(kGbkCharacters)];
    }
  }
  if (text.size() > length) text.resize(length - (length % 2));
  while (text.size() < length) text.push_back(' ');
  return text;
}

CommandResult CallThroughTable(runtime::Command command, std::vector<CommandArg>& args) {
  return runtime::EntryTable().CallCoreCommand(command, static_cast<std::int32_t>(args.size()), args.data());
}

// ---- Dispatch ----

void BM_Dispatch_Direct(benchmark::State& state) {
  CommandArg args[1] = {runtime::TextArg("short text")};
  for (auto _ : state) {
    CommandResult result{};
    runtime::core::GetTextLength(&result, 1, args);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_Dispatch_Direct);

void BM_Dispatch_CallCoreCommand(benchmark::State& state) {
  CommandArg args[1] = {runtime::TextArg("short text")};
  const runtime::RuntimeEntryTable& table = runtime::EntryTable();
  for (auto _ : state) {
    CommandResult result = table.CallCoreCommand(runtime::core::GetTextLength, 1, args);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_Dispatch_CallCoreCommand);

// ---- FindText ----

// The needle appended at the end, where the search must walk through everything first.
std::string WithNeedleAtEnd(std::string text, std::string_view needle) {
  text.resize(text.size() - needle.size());
  // A double-byte character cut in half would take the needle's first byte along.
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t width = codepage::GbkCharWidth(text, i, codepage::GbkLeads::HighBit);
    if (width == 0) {
      text.back() = ' ';
      break;
    }
    i += width;
  }
  text += needle;
  return text;
}

constexpr char kAsciiNeedle[] = "zqxjv,needle";
constexpr char kGbkNeedle[] = "\xBD\xE1\xCA\xF8\xB1\xEA\xBC\xC7";  // 结束标记
// Characters that fill the text: every one of its lead bytes is a candidate on the way.
constexpr char kGbkCommonNeedle[] = "\xB5\xC4\xD2\xBB\xCA\xC7\xD4\xDA\xB2\xBB\xC1\xCB\xD3\xD0\xC8\xCB";  // 的一是在不了有人

void FindTextBench(benchmark::State& state, const std::string& text, std::string_view needle) {
  const std::string needleText(needle);
  std::vector<CommandArg> args = {runtime::TextArg(text.c_str()), runtime::TextArg(needleText.c_str()),
                                  runtime::OmittedArg, runtime::OmittedArg};
  const auto expected = static_cast<std::int32_t>(std::string_view(text).find(needle) + 1);
  for (auto _ : state) {
    CommandResult result = CallThroughTable(runtime::core::FindText, args);
    benchmark::DoNotOptimize(result);
    if (static_cast<std::int32_t>(result.dataLow) != expected) state.SkipWithError("FindText found another place");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void FindBench(benchmark::State& state, const std::string& text, std::string_view needle) {
  const std::string_view haystack(text);
  for (auto _ : state) {
    std::size_t at = haystack.find(needle);
    benchmark::DoNotOptimize(at);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

const std::string& AsciiHaystack() {
  static const std::string text = WithNeedleAtEnd(AsciiText(kMiB), kAsciiNeedle);
  return text;
}
const std::string& GbkHaystack() {
  static const std::string text = WithNeedleAtEnd(GbkText(kMiB), kGbkNeedle);
  return text;
}

void BM_FindText_Ascii_1MiB(benchmark::State& state) { FindTextBench(state, AsciiHaystack(), kAsciiNeedle); }
void BM_StringViewFind_Ascii_1MiB(benchmark::State& state) { FindBench(state, AsciiHaystack(), kAsciiNeedle); }
void BM_FindText_Gbk_1MiB(benchmark::State& state) { FindTextBench(state, GbkHaystack(), kGbkNeedle); }
void BM_StringViewFind_Gbk_1MiB(benchmark::State& state) { FindBench(state, GbkHaystack(), kGbkNeedle); }
const std::string& GbkCommonHaystack() {
  static const std::string text = WithNeedleAtEnd(GbkText(kMiB), kGbkCommonNeedle);
  return text;
}
void BM_FindText_GbkCommon_1MiB(benchmark::State& state) { FindTextBench(state, GbkCommonHaystack(), kGbkCommonNeedle); }
void BM_StringViewFind_GbkCommon_1MiB(benchmark::State& state) { FindBench(state, GbkCommonHaystack(), kGbkCommonNeedle); }
BENCHMARK(BM_FindText_Ascii_1MiB);
BENCHMARK(BM_StringViewFind_Ascii_1MiB);
BENCHMARK(BM_FindText_Gbk_1MiB);
BENCHMARK(BM_StringViewFind_Gbk_1MiB);
BENCHMARK(BM_FindText_GbkCommon_1MiB);
BENCHMARK(BM_StringViewFind_GbkCommon_1MiB);

// ---- ReplaceSubtext and SplitText, 1 MiB and 2 MiB ----

// glibc hands out blocks of a few MiB as fresh mappings (a page fault on every first
// touch) until a larger block has been freed; after that it keeps them on its heap, as it
// does in a program that has run for a while. Settle it that way before the first run, so
// that the 1 MiB and 2 MiB runs meet the same allocator whatever ran before them.
const bool kAllocatorSettled = [] {
  void* block = std::malloc(16 * kMiB);
  benchmark::DoNotOptimize(block);
  std::free(block);
  return true;
}();

void ReplaceBench(benchmark::State& state, bool caseSensitive) {
  const std::string text = GbkText(static_cast<std::size_t>(state.range(0)));
  std::vector<CommandArg> args = {runtime::TextArg(text.c_str()), runtime::TextArg(","), runtime::TextArg(";;"),
                                  runtime::OmittedArg, runtime::OmittedArg, runtime::BoolArg(caseSensitive)};
  for (auto _ : state) {
    CommandResult result = CallThroughTable(runtime::core::ReplaceSubtext, args);
    runtime::FreeBlock(runtime::ArgPointer(result));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_ReplaceSubtext(benchmark::State& state) { ReplaceBench(state, true); }
void BM_ReplaceSubtext_IgnoringCase(benchmark::State& state) { ReplaceBench(state, false); }
BENCHMARK(BM_ReplaceSubtext)->Arg(kMiB)->Arg(2 * kMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceSubtext_IgnoringCase)->Arg(kMiB)->Arg(2 * kMiB)->Unit(benchmark::kMillisecond);

void BM_SplitText(benchmark::State& state) {
  const std::string text = GbkText(static_cast<std::size_t>(state.range(0)));
  std::vector<CommandArg> args = {runtime::TextArg(text.c_str()), runtime::TextArg(",")};
  std::int64_t parts = 0;
  for (auto _ : state) {
    CommandResult result = CallThroughTable(runtime::core::SplitText, args);
    void* array = runtime::ArgPointer(result);
    parts = runtime::ArrayCount(array);
    for (std::int64_t i = 0; i < parts; ++i) runtime::FreeBlock(runtime::ArrayElementAt<char*>(array, i));
    runtime::FreeBlock(array);
  }
  state.counters["parts"] = static_cast<double>(parts);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_SplitText)->Arg(kMiB)->Arg(2 * kMiB)->Unit(benchmark::kMillisecond);

}  // namespace
