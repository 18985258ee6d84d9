// One link through MainWindow as a user resolves it: the five output boxes cleared, the
// service's radio box clicked, the link typed into its box, "解析" clicked, the boxes read.
#pragma once

#include <string>

#include "link_result.h"

namespace cli {

// MainWindow must be loaded. The link is UTF-8; the result's texts are the boxes' in UTF-8.
LinkResult ResolveInWindow(Service service, const std::string& link);

}  // namespace cli
