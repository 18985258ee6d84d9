// panlift-simulator: serves the catalogue's share pages on loopback until SIGINT or SIGTERM.
// Exit codes: 0 after a stop by signal (and after --help, --version, --print-env), 1 when it
// cannot listen, 2 for a bad option or a bad catalogue.
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <thread>

#include "default_catalogue.h"
#include "options.h"
#include "server.h"
#include "share_simulator/addresses.h"
#include "share_simulator/catalogue.h"
#include "site.h"
#include "startup_output.h"

using namespace share_simulator;

namespace {

int Refuse(const std::string& fault) {
  std::fprintf(stderr, "panlift-simulator: %s\n", fault.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string fault;
  std::optional<Options> options = ParseOptions(argc, argv, &fault);
  if (!options) return Refuse(fault + " (see panlift-simulator --help)");
  if (options->help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (options->version) {
    std::printf("panlift-simulator %s\n", PANLIFT_VERSION);
    return 0;
  }
  if (options->printEnv) {
    std::printf("export PANLIFT_CONNECT_TO='%s'\n", ConnectToValue(options->port).c_str());
    return 0;
  }

  std::string path = options->catalogue;
  if (path.empty()) {
    std::optional<std::string> found = FindDefaultCatalogue();
    if (!found) {
      std::string looked;
      for (const std::string& candidate : DefaultCatalogueCandidates()) looked += (looked.empty() ? "" : ", ") + candidate;
      return Refuse("no catalogue found (looked for " + looked + "); name one with --catalogue FILE");
    }
    path = *found;
  }
  Catalogue catalogue;
  try {
    catalogue = LoadCatalogue(path);
  } catch (const CatalogueError& e) {
    return Refuse(e.what());
  }

  // The signals are taken by sigwait below, never by a handler: block them before the
  // server's threads start, so that they inherit the mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);  // a client that hangs up mid-download is no reason to die

  Server server(options->quiet);
  int port = server.Bind(options->port);
  if (port < 0) {
    std::fprintf(stderr, "panlift-simulator: cannot listen on %s:%d (is the port in use?)\n",
                 std::string(kLoopback).c_str(), options->port);
    return 1;
  }
  Site site(std::move(catalogue), port);
  PrintStartup(stdout, site);

  std::thread serving([&] { server.Serve(site); });
  int signal = 0;
  sigwait(&stopSignals, &signal);
  server.Stop();
  serving.join();
  return 0;
}
