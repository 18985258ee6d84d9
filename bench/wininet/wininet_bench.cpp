// Streaming a 50 MB body from a loopback server: through InternetReadFile in 2048-byte reads,
// and with the curl command line on the same URL, in one run. Reported: throughput
// (bytes_per_second) of both, and for the WinInet read the growth of resident memory
// while the body streams (rss_growth_MB: the highest resident size seen during the read
// minus the size just before the send). Run: scripts/bench.sh wininet
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>

#include "testsupport/http_server.h"
#include "wininet/wininet.h"

extern char** environ;

namespace {

constexpr std::uint64_t kBodyBytes = 50'000'000;

testsupport::HttpTestServer& Server() {
  static testsupport::HttpTestServer* server = [] {
    testsupport::HttpServerOptions options;
    options.lifetime = std::chrono::minutes(10);
    options.maxRequests = 100000;
    auto* s = new testsupport::HttpTestServer(options);
    s->Route("/body", testsupport::HttpResponse::Generated(kBodyBytes));
    return s;
  }();
  return *server;
}

double ResidentMegabytes() {
  long pages = 0, resident = 0;
  if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void WininetReadFile(benchmark::State& state) {
  testsupport::HttpTestServer& server = Server();
  double growth = 0;
  for (auto _ : state) {
    HINTERNET internet = InternetOpenA("bench", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connection = InternetConnectA(internet, "127.0.0.1", server.Port(), "", "", INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request = HttpOpenRequestA(connection, "GET", "/body", nullptr, nullptr, nullptr, INTERNET_FLAG_RELOAD, 0);
    const double before = ResidentMegabytes();
    double highest = before;
    if (!HttpSendRequestA(request, nullptr, 0, nullptr, 0)) state.SkipWithError("send failed");
    char buffer[2048];
    std::uint64_t total = 0;
    DWORD n = 0;
    for (std::uint64_t reads = 0; InternetReadFile(request, buffer, sizeof buffer, &n) && n != 0; ++reads) {
      total += n;
      if (reads % 1024 == 0) highest = std::max(highest, ResidentMegabytes());
    }
    highest = std::max(highest, ResidentMegabytes());
    growth = std::max(growth, highest - before);
    if (total != kBodyBytes) state.SkipWithError("short body");
    InternetCloseHandle(internet);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBodyBytes));
  state.counters["rss_growth_MB"] = growth;
}

void CurlCommandLine(benchmark::State& state) {
  std::string url = Server().Url("/body");
  for (auto _ : state) {
    // Straight to the server, as the WinInet side goes, whatever proxy the machine names.
    char* argv[] = {const_cast<char*>("curl"), const_cast<char*>("-s"), const_cast<char*>("--noproxy"),
                    const_cast<char*>("*"), const_cast<char*>("-o"), const_cast<char*>("/dev/null"),
                    url.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "curl", nullptr, nullptr, argv, environ) != 0) {
      state.SkipWithError("cannot run curl");
      break;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("curl failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBodyBytes));
}

BENCHMARK(WininetReadFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(CurlCommandLine)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
