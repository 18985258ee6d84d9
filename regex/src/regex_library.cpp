// The library's constant record: its two data types, its command table and its entry for
// the runtime's notifications.
#include "regex/regex_library.h"
#include "runtime_heap.h"

namespace regexlib {
namespace {

constexpr runtime::Command Commands[CommandCount] = {
    ConstructRegex, DestroyRegex, Create, SearchAll, ConstructSearchResult, DestroySearchResult,
    GetSubMatchText,
};

constexpr std::int32_t Index(CommandIndex i) { return static_cast<std::int32_t>(i); }

// Block sizes are those of a 64-bit build: a `regex` is a pointer and an int32 (padded),
// a `SearchResult` one pointer.
constexpr runtime::LibraryDataType Types[] = {
    {runtime::TypeNumberOfType(RegexType), "regex", sizeof(RegexVariable),
     Index(CommandIndex::ConstructRegex), Index(CommandIndex::DestroyRegex)},
    {runtime::TypeNumberOfType(SearchResultType), "SearchResult", sizeof(SearchResultVariable),
     Index(CommandIndex::ConstructSearchResult), Index(CommandIndex::DestroySearchResult)},
};

constexpr runtime::LibraryInfo Info = {
    runtime::LibraryInfoFormat,
    "{6F1C2B8E-3D4A-4E59-A7B0-2C9D5E81F034}",
    1,
    "Regular-expression library",
    static_cast<std::int32_t>(std::size(Types)),
    Types,
    CommandCount,
    Commands,
    LibraryNotify,
};

}  // namespace

const runtime::LibraryInfo& RegexLibraryInfo() { return Info; }

std::intptr_t LibraryNotify(std::int32_t code, std::intptr_t p1, std::intptr_t) {
  if (code == runtime::library_notify::Start) {
    heap::SetRuntimeNotify(reinterpret_cast<runtime::RuntimeNotifyFunction>(p1));
  }
  return 0;  // nothing else concerns this library: no properties, nothing to shut down
}

}  // namespace regexlib
