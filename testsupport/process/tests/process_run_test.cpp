// A program run for a test: what it is given reaches it, what it writes comes back apart,
// and one that hangs is killed at its bound instead of holding the test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testsupport/process_run.h"

namespace testsupport {
namespace {

ProcessRequest Program(std::vector<std::string> arguments) {
  ProcessRequest request;
  request.arguments = std::move(arguments);
  return request;
}

ProcessRequest Shell(const char* script) { return Program({"/bin/sh", "-c", script}); }

TEST(RunProcess, GivesAndTakesWhatTheProgramSees) {
  struct Case {
    const char* name;
    ProcessRequest request;
    int exitCode;
    std::string out, err;
  };
  ProcessRequest input = Shell("cat; echo done >&2; exit 3");
  input.input = std::string(200000, 'x');  // more than a pipe holds at once
  ProcessRequest environment = Shell("echo \"$A|${HOME-unset}\"");
  environment.environment = {{"A", "set"}};
  environment.unset = {"HOME"};
  ProcessRequest terminal = Shell("test -t 2 && echo tty >&2; test -t 1 || echo pipe");
  terminal.terminal = true;
  const Case cases[] = {
      {"input in, outputs apart", input, 3, input.input, "done\n"},
      {"environment set and unset", environment, 0, "set|unset\n", ""},
      {"standard error on a terminal", terminal, 0, "pipe\n", "tty\r\n"},
      {"no such program", Program({"/nonexistent/program"}), 127, "", ""},
  };
  for (const Case& c : cases) {
    const ProcessRun run = RunProcess(c.request);
    EXPECT_TRUE(run.finished) << c.name;
    EXPECT_EQ(run.exitCode, c.exitCode) << c.name;
    EXPECT_EQ(run.out, c.out) << c.name;
    EXPECT_EQ(run.err, c.err) << c.name;
  }
}

TEST(RunProcess, KillsAHangAtItsBound) {
  ProcessRequest request = Shell("echo started; exec sleep 60");
  request.boundSeconds = 1;
  const ProcessRun run = RunProcess(request);
  EXPECT_FALSE(run.finished);
  EXPECT_EQ(run.exitCode, -1);
  EXPECT_EQ(run.out, "started\n");
  EXPECT_GE(run.seconds, 1.0);
}

}  // namespace
}  // namespace testsupport
