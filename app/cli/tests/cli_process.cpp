#include "cli_process.h"

namespace cli_test {

CliOutcome RunCli(const CliRequest& request) {
  testsupport::ProcessRequest run;
  run.arguments = {PANLIFT_CLI};
  run.arguments.insert(run.arguments.end(), request.arguments.begin(), request.arguments.end());
  run.environment = request.environment;
  run.unset = {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy",         "ALL_PROXY",
               "no_proxy",   "NO_PROXY",    "PANLIFT_CONNECT_TO"};
  run.input = request.input;
  run.terminal = request.terminal;
  return testsupport::RunProcess(run);
}

}  // namespace cli_test
