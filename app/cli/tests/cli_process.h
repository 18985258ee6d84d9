// Runs the built panlift-cli as a script would: its arguments, extra environment and
// standard input given; standard output and standard error read apart. With a terminal,
// standard error is a pseudo-terminal (standard output stays a pipe). The machine's proxy
// variables and the connect-to hook never reach it unless the request sets them.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "testsupport/process_run.h"

namespace cli_test {

struct CliRequest {
  std::vector<std::string> arguments;
  std::vector<std::pair<std::string, std::string>> environment;  // set in the child only
  std::string input;
  bool terminal = false;
};

using CliOutcome = testsupport::ProcessRun;

CliOutcome RunCli(const CliRequest& request);

}  // namespace cli_test
