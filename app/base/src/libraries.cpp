#include "app/base/libraries.h"

#include "inet/internet_library.h"
#include "regex/regex_library.h"
#include "runtime/core/core_library.h"

namespace app {
namespace {

// Carried for its place in the table: the program calls none of its commands.
const runtime::LibraryInfo kSpecialFunctions{
    runtime::LibraryInfoFormat, "{A068799B-7551-46b9-8CB8-A3DCB2F6ADEF}", 1, "special functions", 0, nullptr, 0, nullptr,
    nullptr};

static_assert(kInternetLibrary == inet::LibraryNumber && kRegexLibrary == regexlib::LibraryNumber);

}  // namespace

const runtime::LibraryInfo* const* LibraryTable() {
  static const runtime::LibraryInfo* const table[kLibraryCount] = {
      &runtime::core::CoreLibrary(), &inet::InternetLibraryInfo(), &kSpecialFunctions, &regexlib::RegexLibraryInfo()};
  return table;
}

}  // namespace app
