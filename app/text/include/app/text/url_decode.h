#pragma once

#include "runtime/values.h"

namespace app {

// %XX escapes to bytes, then those bytes from UTF-8 to GBK; a new Text.
runtime::Text UrlDecode(const char* text);

}  // namespace app
