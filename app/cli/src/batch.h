// Links from a batch file: one a line; blank lines and lines starting with "#" are skipped.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "options.h"

namespace cli {

std::vector<std::string> ReadBatch(std::string_view text);

struct CollectedLinks {
  std::vector<std::string> links;
  std::string error;  // not empty: a batch file could not be read (a usage error)
};

// The links of every source in order; a batch file "-" is read from standardInput.
CollectedLinks CollectLinks(const std::vector<LinkSource>& sources, std::FILE* standardInput);

}  // namespace cli
