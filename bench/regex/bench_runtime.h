// A runtime heap over malloc for the benchmarks, and the calls into the library as the
// program makes them.
#pragma once

#include <string>

#include "regex/regex_library.h"

namespace regexlib::bench {

// Hands the library a RuntimeNotify over malloc (once).
void StartRuntime();

class Regex {
 public:
  explicit Regex(const char* pattern);
  ~Regex();
  Regex(const Regex&) = delete;
  Regex& operator=(const Regex&) = delete;
  // SearchAll's array as returned; Release frees it as its receiver does.
  void* SearchAll(const std::string& text);

 private:
  RegexVariable block_{};
};

std::int32_t ResultCount(const void* array);
void Release(void* array);

// `sample` repeated until the page holds at least `bytes`.
std::string PageOf(const std::string& sample, std::size_t bytes);
std::string ReadFixture(const std::string& name);

}  // namespace regexlib::bench
