// The tool's entry routine, run by the framework's run step in place of the window's
// message loop: the program starts as it always does, then each link goes through its
// window and is printed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "options.h"

namespace cli {

struct LinkRun {
  Options options;
  std::vector<std::string> links;
};

// The run the entry routine carries out; it must outlive the routine.
void SetLinkRun(const LinkRun* run);
// 0 when every link gave an address, 1 otherwise.
std::int32_t ResolveLinksEntry();
// Rubs out the progress line, if one shows (before other output on standard error).
void ClearProgressLine();

}  // namespace cli
