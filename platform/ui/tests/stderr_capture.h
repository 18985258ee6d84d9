// Captures what the process writes to file descriptor 2 while it is alive.
#pragma once

#include <cstdio>
#include <string>

namespace ui::testing {

class StderrCapture {
 public:
  StderrCapture();
  ~StderrCapture();
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;

  // Restores standard error and returns everything written since construction.
  std::string Finish();

 private:
  std::FILE* file_ = nullptr;
  int saved_ = -1;
};

}  // namespace ui::testing
