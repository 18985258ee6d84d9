#include "stderr_capture.h"

#include <unistd.h>

#include <stdexcept>

namespace ui::testing {

StderrCapture::StderrCapture() : file_(std::tmpfile()) {
  if (!file_) throw std::runtime_error("no temporary file for standard error");
  std::fflush(stderr);
  saved_ = dup(STDERR_FILENO);
  dup2(fileno(file_), STDERR_FILENO);
}

StderrCapture::~StderrCapture() {
  Finish();
  if (file_) std::fclose(file_);
}

std::string StderrCapture::Finish() {
  if (saved_ < 0) return {};
  std::fflush(stderr);
  dup2(saved_, STDERR_FILENO);
  close(saved_);
  saved_ = -1;
  std::string captured;
  std::rewind(file_);
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file_)) > 0;) captured.append(buffer, n);
  return captured;
}

}  // namespace ui::testing
