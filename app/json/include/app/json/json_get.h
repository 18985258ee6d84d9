#pragma once

#include <cstdint>

#include "runtime/values.h"

namespace app {

// One value of a JSON object text by its member path ("data.downloadurl"), through a
// ScriptControl; objects, arrays of objects and malformed input give the program's hint
// texts. `count` (may be null) is set only for an array of objects. A new Text.
runtime::Text JsonGet(const char* json, const char* path, std::int32_t* count = nullptr);

}  // namespace app
