// The benchmarks' share pages for whole processes (scripts/bench.sh process): each service's
// page of 10 kB and of 10 MB with the fields at the end, at /<service>/<bytes>, and the 360 Pan
// endpoint, on a free loopback port. Prints "connect-to <PANLIFT_CONNECT_TO value>", then
// "ready"; stops on SIGTERM or SIGINT, or after ten minutes.
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>

#include "share_pages.h"
#include "testsupport/http_server.h"

namespace {
volatile std::sig_atomic_t stop = 0;
void Stop(int) { stop = 1; }
}  // namespace

int main() {
  std::signal(SIGTERM, Stop);
  std::signal(SIGINT, Stop);
  testsupport::HttpServerOptions options;
  options.lifetime = std::chrono::minutes(10);
  options.maxRequests = 100000;
  testsupport::HttpTestServer server(options);
  for (bench::Service service : {bench::Service::Xunlei, bench::Service::Baidu, bench::Service::Pan360}) {
    for (std::size_t bytes : {10'000u, 10'000'000u}) {
      server.Route("/" + std::string(bench::ServiceName(service)) + "/" + std::to_string(bytes),
                   testsupport::HttpResponse::Text(bench::SharePage(service, bytes)));
    }
  }
  server.Route("/share/downloadfile/", testsupport::HttpResponse::Text(bench::Pan360Answer()));
  const std::string aim = server.HostPort();
  std::printf("connect-to\tkuai.xunlei.com:80=%s,pan.baidu.com:80=%s,yunpan.cn:80=%s,yunpan.360.cn:80=%s\n",
              aim.c_str(), aim.c_str(), aim.c_str(), aim.c_str());
  std::printf("url\t%s\nready\n", server.Url("/").c_str());
  std::fflush(stdout);
  for (int tenths = 0; !stop && tenths < 6000; ++tenths) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  return 0;
}
