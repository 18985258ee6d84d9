// Directory searches of RuntimeService operations 0 and 1.
#pragma once

#include <cstdint>

#include "runtime/values.h"

namespace runtime {

// File attribute bits, as Windows reports them.
inline constexpr std::uint32_t kAttributeReadOnly = 0x01;
inline constexpr std::uint32_t kAttributeHidden = 0x02;
inline constexpr std::uint32_t kAttributeSystem = 0x04;
inline constexpr std::uint32_t kAttributeDirectory = 0x10;
inline constexpr std::uint32_t kAttributeArchive = 0x20;

// pattern: a GBK path whose last part may hold the wildcards * and ? ("dir\*.txt"); a
// non-empty pattern starts a new search in *handle, an empty or null one continues it.
// Ordinary files always match; directories, hidden and system entries only when their bit
// is in attributeMask. skipDotEntries leaves out "." and "..". Returns the next matching
// name as a new Text; at the end null, with the search closed and *handle set to 0.
Text FindFileEntry(const char* pattern, std::uint32_t attributeMask, bool skipDotEntries, std::intptr_t* handle);
void CloseFileSearch(std::intptr_t handle);

// Windows wildcard match of a file name, ignoring the case of ASCII letters; "*.*" matches
// every name.
bool MatchesWildcard(const char* pattern, const char* name);

}  // namespace runtime
