// The texts of --help and --version.
#pragma once

#include <string>

namespace cli {

std::string HelpText();
std::string VersionText();  // "panlift-cli VERSION"

}  // namespace cli
