#pragma once

#include "runtime/values.h"

namespace app {

// The text between the first `left` and the first `right` after it; a new Text.
runtime::Text TextBetween(const char* text, const char* left, const char* right);

}  // namespace app
