// What the library sees of the runtime in these tests: a RuntimeNotify over malloc that
// counts live blocks and can refuse chosen requests, and owners for the values the
// commands hand back, which release them the way the program does.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "regex/regex_library.h"

namespace regexlib::testing {

// The runtime heap of a test.
struct TestHeap {
  static std::int64_t Live();
  static std::int64_t Allocations();
  static std::int64_t ForeignFrees();  // frees of blocks this heap never handed out
  // Requests with these numbers (1 = the next one) answer null.
  static void Refuse(std::set<std::int64_t> requestNumbers);
  static void RefuseAll(bool refuse = true);
  static void Reset();
  static std::intptr_t Notify(std::int32_t code, std::intptr_t p1, std::intptr_t p2);
  static void* Allocate(std::size_t bytes);
  static void Free(void* block);
};

runtime::CommandResult Call(runtime::Command command, std::vector<runtime::CommandArg> args);

// A `SearchResult` variable of its own (not from SearchAll).
class SearchResultBlock {
 public:
  SearchResultBlock();
  ~SearchResultBlock();
  SearchResultBlock(const SearchResultBlock&) = delete;
  SearchResultBlock& operator=(const SearchResultBlock&) = delete;
  SearchResultVariable* block() const { return block_; }

 private:
  SearchResultVariable* block_;
};

// GetSubMatchText on a SearchResult block; nullopt when the command returned no text.
std::optional<std::string> SubMatchText(SearchResultVariable* block, const char* text,
                                        runtime::CommandArg index,
                                        runtime::CommandArg offsetVariable = runtime::OmittedArg);
std::optional<std::string> SubMatchText(SearchResultVariable* block, const char* text, int index);
// The whole-match offset through the out-argument, or `unchanged` if it was not written.
std::int32_t SubMatchOffset(SearchResultVariable* block, int index, std::int32_t unchanged = -77);
runtime::CommandArg IntVariableArg(std::int32_t* variable);

// The array SearchAll returns, released element by element as its receiver must.
class Results {
 public:
  explicit Results(void* array) : array_(array) {}
  ~Results();
  Results(const Results&) = delete;
  Results& operator=(const Results&) = delete;

  void* array() const { return array_; }
  std::int32_t size() const;
  SearchResultVariable* at(std::int32_t i) const;
  // Whole-match offsets and lengths, in order.
  std::vector<std::pair<std::int32_t, std::int32_t>> Spans() const;
  std::optional<std::string> Text(std::int32_t i, int index, const char* searched) const;

 private:
  void* array_;
};

// A `regex` variable, allocated on the test heap and constructed.
class Regex {
 public:
  Regex();
  ~Regex();
  Regex(const Regex&) = delete;
  Regex& operator=(const Regex&) = delete;

  RegexVariable* block() const { return block_; }
  bool Create(const char* pattern, std::optional<bool> caseSensitive = std::nullopt);
  Results SearchAll(const char* text) const;
  // SearchAll with the text passed as given, NUL bytes and all.
  Results SearchAll(const std::string& text) const { return SearchAll(text.c_str()); }

 private:
  RegexVariable* block_;
};

// Every test starts with the test heap handed over and ends with nothing left on it.
class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace regexlib::testing
