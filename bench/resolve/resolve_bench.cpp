// What a user waits for, in process: one resolve of each service (the resolver procedure on a
// page served from loopback, the boxes of an offscreen MainWindow written) against a bare
// libcurl fetch of the same page, for pages of 10 kB to 10 MB with the fields at the end; and
// a Xunlei Kuaichuan page that lists 100 000 files against one of the same size that lists
// one. The runtime runs as the program's start leaves it, from the program's own block.
//
// Run: scripts/bench.sh resolve   (more runs: --benchmark_repetitions=5
//      --benchmark_enable_random_interleaving=true). After the table comes the summary:
//      each resolve against its bare fetch, each size against the one ten times smaller, and
//      the list page against the one-file page, by the minimum and the median real time;
//      beside them the resolver's own fetch and its searches alone against the bare fetch.
#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "app/base/libraries.h"
#include "app/base/program_block.h"
#include "app/base/runtime_calls.h"
#include "app/fetch/fetch_page.h"
#include "app/json/json_get.h"
#include "app/program_texts.h"
#include "app/resolvers/resolvers.h"
#include "app/testing/program_test.h"
#include "app/text/text_primitives.h"
#include "app/text/url_decode.h"
#include "inet/internet_library.h"
#include "regex/regex_library.h"
#include "runtime/core/core_library.h"
#include "runtime/startup/start.h"
#include "share_pages.h"
#include "testsupport/http_server.h"
#include "testsupport/proxy_environment.h"
#include "ui/application.h"

namespace {

using bench::Service;
using Resolver = runtime::Text (*)(const runtime::Text&);

constexpr std::size_t kSizes[] = {10'000, 100'000, 1'000'000, 10'000'000};
constexpr int kListFiles = 100'000;

// The pages on loopback. The test server keeps every connection it served until it stops
// (256 at most), and each fetch here opens a connection of its own, so a fresh server takes
// over, outside the timing, before the one serving runs out; the services' hosts follow it.
class PageServer {
 public:
  void Route(const std::string& path, std::string body) {
    routes_.emplace_back(path, std::make_shared<const std::string>(std::move(body)));
  }
  std::string Url(const std::string& path) const { return server_->Url(path); }

  // Before each fetch or resolve.
  void Ready(benchmark::State& state) {
    if (server_ && server_->RequestCount() < kRequestsPerServer) return;
    state.PauseTiming();
    Renew();
    state.ResumeTiming();
  }

  void Renew() {
    testsupport::HttpServerOptions options;
    options.lifetime = std::chrono::hours(2);
    auto fresh = std::make_unique<testsupport::HttpTestServer>(options);
    for (const auto& [path, body] : routes_) {
      fresh->Route(path, [body = body](const testsupport::HttpRequestRecord&) {
        return testsupport::HttpResponse::Text(*body);
      });
    }
    const std::string aim = fresh->HostPort();
    setenv("PANLIFT_CONNECT_TO",
           ("kuai.xunlei.com:80=" + aim + ",pan.baidu.com:80=" + aim + ",yunpan.cn:80=" + aim +
            ",yunpan.360.cn:80=" + aim)
               .c_str(),
           1);
    server_ = std::move(fresh);  // the old one stops here
  }

  void Stop() { server_.reset(); }

 private:
  static constexpr std::size_t kRequestsPerServer = 200;
  std::vector<std::pair<std::string, std::shared_ptr<const std::string>>> routes_;
  std::unique_ptr<testsupport::HttpTestServer> server_;
};

PageServer& Pages() {
  static PageServer pages;
  return pages;
}

const char* Host(Service service) {
  switch (service) {
    case Service::Xunlei: return "kuai.xunlei.com";
    case Service::Baidu: return "pan.baidu.com";
    case Service::Pan360: return "yunpan.cn";
  }
  return "";
}

Resolver ResolverOf(Service service) {
  switch (service) {
    case Service::Xunlei: return app::ResolveXunleiLink;
    case Service::Baidu: return app::ResolveBaiduLink;
    case Service::Pan360: return app::Resolve360Link;
  }
  return nullptr;
}

// One route per page; `path` also names the page in the link.
struct Page {
  Service service;
  std::string path;
  std::size_t bytes;
  std::string expected;
  std::shared_ptr<const std::string> body;
};

Page Serve(Service service, const std::string& path, std::string body, std::string expected) {
  Page page{service, path, body.size(), std::move(expected), std::make_shared<const std::string>(body)};
  Pages().Route(path, std::move(body));
  return page;
}

std::size_t Keep(char* bytes, std::size_t size, std::size_t count, void* sink) {
  static_cast<std::string*>(sink)->append(bytes, size * count);
  return size * count;
}

// The bare transfer: one easy handle per fetch, as each resolve opens its own connection,
// the body kept in memory.
void BareFetch(benchmark::State& state, const Page& page) {
  for (auto _ : state) {
    Pages().Ready(state);
    const std::string url = Pages().Url(page.path);
    std::string body;
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Keep);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    const CURLcode code = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    if (code != CURLE_OK || body.size() != page.bytes) state.SkipWithError("short body");
    benchmark::DoNotOptimize(body.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.bytes));
}

void Resolve(benchmark::State& state, const Page& page) {
  const std::string link = std::string("http://") + Host(page.service) + page.path;
  runtime::Text text = app::testing::NewText(link);
  const Resolver resolver = ResolverOf(page.service);
  // Once before the timing: the page must resolve to its address.
  Pages().Renew();
  if (app::testing::TakeText(resolver(text)) != page.expected) state.SkipWithError("wrong address");
  for (auto _ : state) {
    Pages().Ready(state);
    app::FreeBlock(resolver(text));
  }
  app::FreeBlock(text);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.bytes));
}

// The resolver's own fetch alone: FetchPage (Xunlei Kuaichuan, 360 Pan: the share page only)
// or HttpReadFile (Baidu Pan), each with its conversion to Text.
void FetchOnly(benchmark::State& state, const Page& page) {
  const std::string link = std::string("http://") + Host(page.service) + page.path;
  for (auto _ : state) {
    Pages().Ready(state);
    runtime::Text text = nullptr;
    if (page.service == Service::Baidu) {
      void* body = app::ResultBlock(app::CallLibrary(
          app::kInternetLibrary, static_cast<std::int32_t>(inet::CommandIndex::HttpReadFile), {runtime::TextArg(link.c_str())}));
      text = app::ResultText(app::CallCore(runtime::core::command::ToText, {runtime::ByteSetArg(body)}));
      app::FreeBlock(body);
    } else {
      text = app::FetchPage(link.c_str());
    }
    if (!text || std::strlen(text) != page.bytes) state.SkipWithError("short page");
    app::FreeBlock(text);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.bytes));
}

runtime::CommandResult CallRegex(regexlib::CommandIndex command, std::initializer_list<runtime::CommandArg> args) {
  return app::CallLibrary(app::kRegexLibrary, static_cast<std::int32_t>(command), args);
}

// The resolver's searches alone, on the page as a Text: each of its patterns compiled into
// one `regex` and searched for all matches, the results released (no sub-match read).
void SearchOnly(benchmark::State& state, const Page& page) {
  std::vector<const char*> patterns;
  if (page.service == Service::Xunlei) {
    patterns = {app::kTexts.XunleiKeyPattern, app::kTexts.XunleiFilePattern, app::kTexts.XunleiExtensionPattern};
  } else {
    patterns = {app::kTexts.BaiduDlinkPattern, app::kTexts.BaiduFilenamePattern, app::kTexts.BaiduSizePattern,
                app::kTexts.BaiduMd5Pattern};
  }
  runtime::Text text = app::testing::NewText(*page.body);
  void* block = app::Runtime().AllocBlock(sizeof(regexlib::RegexVariable));
  std::memset(block, 0, sizeof(regexlib::RegexVariable));
  const runtime::CommandArg regex = runtime::PointerArg(block, regexlib::RegexType);
  CallRegex(regexlib::CommandIndex::ConstructRegex, {regex});
  std::int32_t matches = 0;
  for (auto _ : state) {
    matches = 0;
    for (const char* pattern : patterns) {
      CallRegex(regexlib::CommandIndex::Create, {regex, runtime::TextArg(pattern)});
      void* found = app::ResultBlock(CallRegex(regexlib::CommandIndex::SearchAll, {regex, runtime::TextArg(text)}));
      const std::int32_t count = app::ArrayElementCount(found);
      matches += count;
      for (std::int32_t i = 0; i < count; ++i) {
        void* result = runtime::ArrayElementAt<void*>(found, i);
        CallRegex(regexlib::CommandIndex::DestroySearchResult, {runtime::PointerArg(result, regexlib::SearchResultType)});
        app::FreeBlock(result);
      }
      app::FreeBlock(found);
    }
  }
  if (matches < static_cast<std::int32_t>(patterns.size())) state.SkipWithError("a pattern found nothing");
  CallRegex(regexlib::CommandIndex::DestroyRegex, {regex});
  app::FreeBlock(block);
  app::FreeBlock(text);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.bytes));
}

// One step of every resolve, on its own: the charset conversion of a file name and a JSON read.
void OneUrlDecode(benchmark::State& state) {
  for (auto _ : state) app::FreeBlock(app::UrlDecode("f99999.rmvb"));
}
void OneJsonGet(benchmark::State& state) {
  const std::string config = "{\"surl\":\"Q7tWxyzAb\",\"nid\":\"13801234567\",\"size\":\"356515840\"}";
  for (auto _ : state) app::FreeBlock(app::JsonGet(config.c_str(), "nid"));
}

void Register(const std::string& name, void (*run)(benchmark::State&, const Page&), const Page& page) {
  benchmark::RegisterBenchmark(name.c_str(), run, page)->Unit(benchmark::kMicrosecond)->UseRealTime();
}

void RegisterAll() {
  Pages().Route("/share/downloadfile/", bench::Pan360Answer());
  for (Service service : {Service::Xunlei, Service::Baidu, Service::Pan360}) {
    for (std::size_t bytes : kSizes) {
      const std::string name = std::string(bench::ServiceName(service)) + "/" + std::to_string(bytes);
      const Page page = Serve(service, "/" + name, bench::SharePage(service, bytes), bench::ExpectedAddress(service));
      Register(name + "/resolve", Resolve, page);
      Register(name + "/bare", BareFetch, page);
      Register(name + "/fetch", FetchOnly, page);
      if (service != Service::Pan360) Register(name + "/search", SearchOnly, page);
    }
  }
  std::string list = bench::XunleiListPage(kListFiles);
  const std::size_t listBytes = list.size();
  const Page many = Serve(Service::Xunlei, "/list/" + std::to_string(kListFiles), std::move(list),
                          bench::ExpectedListAddress(kListFiles));
  const Page one = Serve(Service::Xunlei, "/list/1", bench::SharePage(Service::Xunlei, listBytes),
                         bench::ExpectedAddress(Service::Xunlei));
  Register("xunlei_list/files:1/resolve", Resolve, one);
  Register("xunlei_list/files:" + std::to_string(kListFiles) + "/resolve", Resolve, many);
  Register("xunlei_list/files:1/bare", BareFetch, one);
  // What the list's resolve would cost if only the last match were read out and decoded.
  Register("xunlei_list/files:" + std::to_string(kListFiles) + "/search", SearchOnly, many);
  benchmark::RegisterBenchmark("step/UrlDecode", OneUrlDecode)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("step/JsonGet", OneJsonGet)->Unit(benchmark::kMicrosecond);
}

// The console table, then the ratios the goals name, from every repetition's real time.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        std::string name = run.run_name.str();
        if (const auto at = name.rfind("/real_time"); at != std::string::npos) name.erase(at);
        times_[name].push_back(run.GetAdjustedRealTime());
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nratio                                         min     median   goal\n");
    for (Service service : {Service::Xunlei, Service::Baidu, Service::Pan360}) {
      const std::string s = bench::ServiceName(service);
      for (std::size_t bytes : kSizes) {
        const std::string n = s + "/" + std::to_string(bytes);
        Ratio(n + " resolve / bare", n + "/resolve", n + "/bare", bytes == 100'000 ? "<= 1.5" : "");
        Ratio(n + "   its fetch / bare", n + "/fetch", n + "/bare", "");
        Ratio(n + "   its searches / bare", n + "/search", n + "/bare", "");
      }
      for (std::size_t i = 1; i < std::size(kSizes); ++i) {
        const std::string a = s + "/" + std::to_string(kSizes[i - 1]), b = s + "/" + std::to_string(kSizes[i]);
        Ratio(s + " resolve " + std::to_string(kSizes[i]) + " / " + std::to_string(kSizes[i - 1]), b + "/resolve",
              a + "/resolve", "<= 11");
      }
    }
    const std::string many = "xunlei_list/files:" + std::to_string(kListFiles) + "/resolve";
    Ratio("xunlei " + std::to_string(kListFiles) + " files / 1 file", many, "xunlei_list/files:1/resolve", "<= 3");
    Ratio("  its searches / 1 file", "xunlei_list/files:" + std::to_string(kListFiles) + "/search",
          "xunlei_list/files:1/resolve", "");
  }

 private:
  static double Min(std::vector<double> v) { return *std::min_element(v.begin(), v.end()); }
  static double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
  }
  void Ratio(const std::string& label, const std::string& top, const std::string& bottom, const char* goal) {
    const auto a = times_.find(top), b = times_.find(bottom);
    if (a == times_.end() || b == times_.end()) return;
    std::printf("%-42s %8.3f %8.3f   %s\n", label.c_str(), Min(a->second) / Min(b->second),
                Median(a->second) / Median(b->second), goal);
  }

  std::map<std::string, std::vector<double>> times_;
};

runtime::HandlerResult Nothing(const std::int32_t*, std::int32_t) { return {0, 0}; }
const runtime::EventHandler kProcedures[] = {Nothing, Nothing, Nothing};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  testsupport::ClearProxyEnvironment();
  curl_global_init(CURL_GLOBAL_DEFAULT);

  ui::EnsureApplication();
  runtime::InstallRuntimeParts();
  static const runtime::ProgramInfoBlock block = app::MakeProgramBlock(kProcedures, 3);
  runtime::StartRuntime(&block);
  app::testing::LoadMainWindow();

  RegisterAll();
  Pages().Renew();
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  app::testing::CloseMainWindow();
  Pages().Stop();
  return 0;
}
