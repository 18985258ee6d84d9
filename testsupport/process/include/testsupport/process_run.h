// Runs a program for a test as a script runs it: its arguments, environment and standard
// input given, standard output and standard error read apart (standard error on a
// pseudo-terminal when asked), and the program killed once its bound has passed, so that a
// hang fails the test instead of holding the suite.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct ProcessRequest {
  std::vector<std::string> arguments;  // the program's path first
  std::vector<std::pair<std::string, std::string>> environment;  // set in the child only
  std::vector<std::string> unset;  // removed from the child's environment
  std::string input;               // standard input; closed once written
  bool terminal = false;           // standard error a pseudo-terminal
  int boundSeconds = 90;
};

struct ProcessRun {
  bool finished = false;  // false: still running at the bound, and killed
  int exitCode = -1;      // -1: ended by a signal, killed, or not started
  double seconds = 0;     // how long it ran
  std::string out, err;
};

ProcessRun RunProcess(const ProcessRequest& request);

}  // namespace testsupport
