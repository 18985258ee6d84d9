#pragma once

#include "runtime/values.h"

namespace app {

// A byte count as a short size text with its unit ("1.5KB"); a new Text.
runtime::Text FormatFileSize(double size);

}  // namespace app
