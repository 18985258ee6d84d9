#include "startup_output.h"

#include "share_simulator/addresses.h"

namespace share_simulator {

void PrintStartup(std::FILE* out, const Site& site) {
  std::fprintf(out, "listening\t%s\n", site.Origin().c_str());
  std::fprintf(out, "connect-to\t%s\n", ConnectToValue(site.Port()).c_str());
  for (const ServedShare& served : site.Shares()) {
    std::fprintf(out, "share\t%s\t%s\t%s\n", std::string(ServiceName(served.share->service)).c_str(),
                 served.link.c_str(), served.files.back().name.c_str());
  }
  std::fprintf(out, "ready\n");
  std::fflush(out);
}

}  // namespace share_simulator
