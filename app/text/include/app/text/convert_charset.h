#pragma once

#include <cstdint>

#include "runtime/values.h"

namespace app {

// Re-encodes bytes (a ByteSet) from one character set to another through an Adodb.Stream;
// skip > 0 leaves that many leading bytes of the result out (3: the UTF-8 byte-order mark).
// A new ByteSet, null when the stream gave none.
void* ConvertCharset(const void* bytes, const char* fromCharset, const char* toCharset, std::int32_t skip = 0);

}  // namespace app
