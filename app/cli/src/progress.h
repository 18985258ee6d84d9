// The progress line of a batch: "link n of N" on standard error, only on a terminal, and
// rubbed out before anything else is written there or to standard output.
#pragma once

#include <cstddef>
#include <string_view>

namespace cli {

class Progress {
 public:
  // Shown only when there is more than one link, standard error is a terminal and not quiet.
  Progress(std::size_t total, bool quiet);
  void Show(std::size_t number, std::string_view link);
  void Clear();

 private:
  bool enabled_ = false;
  bool shown_ = false;
  std::size_t total_ = 0;
};

}  // namespace cli
