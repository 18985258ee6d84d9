// Runs a program for a test with a bound: its standard output and error read apart, and
// the program killed once the bound has passed (a hang fails the test instead of holding it).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace hardening {

struct BoundedRun {
  bool finished = false;  // false: still running at the bound, and killed
  int exitCode = -1;      // -1: ended by a signal, or killed
  double seconds = 0;     // how long it ran
  std::string out, err;
};

BoundedRun RunWithBound(const std::vector<std::string>& arguments,
                        const std::vector<std::pair<std::string, std::string>>& environment, int boundSeconds);

}  // namespace hardening
