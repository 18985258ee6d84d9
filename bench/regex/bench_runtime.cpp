#include "bench_runtime.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace regexlib::bench {
namespace {

std::intptr_t Notify(std::int32_t code, std::intptr_t p1, std::intptr_t) {
  if (code == runtime::notify::Allocate) return reinterpret_cast<std::intptr_t>(std::malloc(static_cast<std::size_t>(p1)));
  if (code == runtime::notify::Free) std::free(reinterpret_cast<void*>(p1));
  return 0;
}

runtime::CommandResult Call(runtime::Command command, std::initializer_list<runtime::CommandArg> args) {
  runtime::CommandResult result{};
  command(&result, static_cast<std::int32_t>(args.size()), const_cast<runtime::CommandArg*>(args.begin()));
  return result;
}

}  // namespace

void StartRuntime() { LibraryNotify(runtime::library_notify::Start, reinterpret_cast<std::intptr_t>(&Notify), 0); }

Regex::Regex(const char* pattern) {
  StartRuntime();
  Call(ConstructRegex, {runtime::PointerArg(&block_, RegexType)});
  const auto r = Call(Create, {runtime::PointerArg(&block_, RegexType), runtime::TextArg(pattern), runtime::OmittedArg});
  if (!runtime::ArgBool(r)) throw std::invalid_argument(pattern);
}

Regex::~Regex() { Call(DestroyRegex, {runtime::PointerArg(&block_, RegexType)}); }

void* Regex::SearchAll(const std::string& text) {
  return runtime::ArgPointer(
      Call(regexlib::SearchAll, {runtime::PointerArg(&block_, RegexType), runtime::TextArg(text.c_str())}));
}

std::int32_t ResultCount(const void* array) { return array ? runtime::ArrayDimensionSize(array, 0) : 0; }

void Release(void* array) {
  for (std::int32_t i = 0; i < ResultCount(array); ++i) {
    void* block = runtime::ArrayElementAt<void*>(array, i);
    Call(DestroySearchResult, {runtime::PointerArg(block, SearchResultType)});
    std::free(block);
  }
  std::free(array);
}

std::string PageOf(const std::string& sample, std::size_t bytes) {
  std::string page;
  page.reserve(bytes + sample.size());
  while (page.size() < bytes) page += sample;
  return page;
}

std::string ReadFixture(const std::string& name) {
  std::ifstream in(std::string(SHARE_PAGES_DIR) + "/" + name, std::ios::binary);
  if (!in) throw std::runtime_error("missing fixture " + name);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace regexlib::bench
