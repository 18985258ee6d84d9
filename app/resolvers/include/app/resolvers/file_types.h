// The file-type table: extensions to the description that the extension box shows.
#pragma once

#include <cstdint>

#include "runtime/values.h"

namespace app {

struct FileTypeRow {
  const char* const* extensions;
  std::int32_t extensionCount;
  const char* descriptionPrefix;
};
inline constexpr std::int32_t kFileTypeRowCount = 11;
extern const FileTypeRow FileTypeTable[kFileTypeRowCount];

// The extension replaced by its row's description ("prefix" + extension + ")"), or
// unchanged; a new Text.
runtime::Text DescribeExtension(const char* extension);

}  // namespace app
