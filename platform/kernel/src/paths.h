// Windows-form paths on a POSIX file system: "\" and "/" both separate, and names are
// found without regard to case, as Windows finds them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "win/types.h"

namespace kernel {

std::string ToPosixPath(std::string_view path);    // "\" -> "/"
std::string ToWindowsPath(std::string_view path);  // "/" -> "\"

enum class EntryKind { File, Directory };

// The entry of `directory` whose name equals `name` without regard to (ASCII) case and that
// is of the kind asked for. An exact match wins; among several others the first in byte
// order, so that the answer does not depend on the order of the directory.
std::optional<std::string> FindEntryNoCase(const std::string& directory, std::string_view name,
                                           EntryKind kind);

// `path` (POSIX form) as an existing directory: as written when it exists, otherwise with
// each component matched without regard to case.
std::optional<std::string> ResolveDirectoryNoCase(const std::string& path);

// The executable's own path, POSIX form; empty when the system does not tell.
const std::string& ExecutablePath();

// Copies `text` into a caller's buffer by the rules of GetModuleFileNameA: truncated to
// size - 1 bytes with a NUL; the length copied, or size with ERROR_INSUFFICIENT_BUFFER when
// it did not fit.
DWORD CopyTruncated(std::string_view text, LPSTR buffer, DWORD size);

}  // namespace kernel
