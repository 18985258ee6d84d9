// Runs the built panlift-cli as a script would: its arguments, extra environment and
// standard input given; standard output and standard error read apart. With a terminal,
// standard error is a pseudo-terminal (standard output stays a pipe).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace cli_test {

struct CliRequest {
  std::vector<std::string> arguments;
  std::vector<std::pair<std::string, std::string>> environment;  // set in the child only
  std::string input;
  bool terminal = false;
};

struct CliOutcome {
  int exitCode = -1;  // -1: killed or not run
  std::string out;
  std::string err;
};

CliOutcome RunCli(const CliRequest& request);

}  // namespace cli_test
