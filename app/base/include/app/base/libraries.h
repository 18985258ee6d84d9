// The program's library table, in the order the program numbers its libraries: the core
// library (1), the Internet library (2), the special-functions library (3, of which the
// program uses nothing) and the regular-expression library (4).
#pragma once

#include <cstdint>

#include "runtime/library.h"

namespace app {

inline constexpr std::int32_t kLibraryCount = 4;
inline constexpr std::int32_t kCoreLibrary = 1, kInternetLibrary = 2, kSpecialFunctionsLibrary = 3,
                              kRegexLibrary = 4;

const runtime::LibraryInfo* const* LibraryTable();

}  // namespace app
