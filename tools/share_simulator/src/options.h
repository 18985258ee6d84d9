// The command line.
#pragma once

#include <optional>
#include <string>

namespace share_simulator {

inline constexpr int kDefaultPort = 8000;

struct Options {
  int port = kDefaultPort;
  std::string catalogue;  // empty: the default catalogue
  bool printEnv = false;
  bool quiet = false;
  bool help = false;
  bool version = false;
};

// The options, or a one-line fault in *fault.
std::optional<Options> ParseOptions(int argc, const char* const* argv, std::string* fault);

extern const char kUsage[];

}  // namespace share_simulator
