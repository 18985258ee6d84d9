// The three resolvers: a share link (the caller's, not changed) to the direct download
// address, a new Text the caller frees (empty when none was found). Each writes the four
// detail boxes of MainWindow itself.
#pragma once

#include "runtime/values.h"

namespace app {

runtime::Text ResolveXunleiLink(const runtime::Text& link);
runtime::Text ResolveBaiduLink(const runtime::Text& link);
runtime::Text Resolve360Link(const runtime::Text& link);

}  // namespace app
