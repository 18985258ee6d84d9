#include "progress.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace cli {

Progress::Progress(std::size_t total, bool quiet)
    : enabled_(total > 1 && !quiet && isatty(STDERR_FILENO) == 1), total_(total) {}

void Progress::Show(std::size_t number, std::string_view link) {
  if (!enabled_) return;
  std::string line = "\r\033[Kpanlift-cli: link " + std::to_string(number) + " of " + std::to_string(total_);
  // Cut long links, so that the line stays one line and \r can rub it out.
  constexpr std::size_t kShown = 50;
  line += ": ";
  if (link.size() > kShown) {
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(link[cut]) & 0xC0) == 0x80) --cut;  // whole characters
    line += std::string(link.substr(0, cut)) + "...";
  } else {
    line += link;
  }
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
  shown_ = true;
}

void Progress::Clear() {
  if (!shown_) return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
  shown_ = false;
}

}  // namespace cli
