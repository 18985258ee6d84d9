// panlift-cli as scripts run it, against the share simulator: every output form, batches,
// failures and their exit codes, usage errors, the progress line, -v, -q and --proxy.
#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli_process.h"
#include "testsupport/http_server.h"
#include "testsupport/simulator.h"

namespace {

using cli_test::CliOutcome;
using cli_test::CliRequest;
using testing::HasSubstr;
using testing::Not;
using testing::StartsWith;

// One share of each service, resolved; their names need quoting; two are Chinese.
constexpr const char* kXunlei = "bTZ0X4GE";  // 年度报告.doc
constexpr const char* kBaidu = "3sPwx9Lc";   // Holiday Photo (1).jpg
constexpr const char* k360 = "QzTk8wPm2vN5c";  // 歌曲.wma, 5000000 bytes
// And the failures: a page without fields, 360's refusal with its own message, a 360 file gone.
constexpr const char* kExpired = "Qm1vC5hJ";
constexpr const char* kRefused = "QzGn7rBk4wS6y";
constexpr const char* kGone = "QzMv2tLq5xC9e";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class PanliftCli : public testing::Test {
 protected:
  static void SetUpTestSuite() { simulator = new testsupport::Simulator({.catalogue = "", .quiet = true}); }
  static void TearDownTestSuite() {
    delete simulator;
    simulator = nullptr;
  }

  static const testsupport::SimulatedShare& Share(const char* id) { return simulator->Share(id); }
  static std::string Link(const char* id) { return Share(id).link; }

  static CliOutcome Run(std::vector<std::string> arguments, std::string input = "", bool terminal = false) {
    return cli_test::RunCli({std::move(arguments), {{"PANLIFT_CONNECT_TO", simulator->ConnectTo()}}, std::move(input),
                             terminal});
  }

  // What the JSON form said of each link, to hold the other forms against.
  static std::vector<nlohmann::ordered_json> Resolved(const std::vector<std::string>& links) {
    std::vector<std::string> arguments = {"-j"};
    arguments.insert(arguments.end(), links.begin(), links.end());
    CliOutcome run = Run(arguments);
    std::vector<nlohmann::ordered_json> objects;
    for (const std::string& line : Lines(run.out)) objects.push_back(nlohmann::ordered_json::parse(line));
    return objects;
  }

  static testsupport::Simulator* simulator;
};

testsupport::Simulator* PanliftCli::simulator = nullptr;

TEST_F(PanliftCli, JsonForEachServiceByteForByte) {
  CliOutcome run = Run({"-j", Link(kXunlei), Link(kBaidu), Link(k360)});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "") << "no progress line on a pipe";
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u) << run.out;
  const std::pair<const char*, const char*> services[] = {{kXunlei, "xunlei"}, {kBaidu, "baidu"}, {k360, "360"}};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const testsupport::SimulatedShare& share = Share(services[i].first);
    SCOPED_TRACE(share.name);
    const nlohmann::ordered_json object = nlohmann::ordered_json::parse(lines[i]);
    EXPECT_EQ(object["name"], share.name) << "the box's GBK back in UTF-8";
    const std::string extension = object["extension"], size = object["size"];
    EXPECT_EQ(lines[i], "{\"link\": \"" + share.link + "\", \"service\": \"" + services[i].second +
                            "\", \"ok\": true, \"url\": \"" + share.downloadAddress + "\", \"name\": \"" + share.name +
                            "\", \"extension\": \"" + extension + "\", \"size\": \"" + size + "\", \"hash\": \"" +
                            share.md5 + "\"}");
  }
  EXPECT_THAT(nlohmann::json::parse(lines[0])["extension"].get<std::string>(),
              StartsWith("Microsoft Office Word 2003文档   ("));
  EXPECT_THAT(nlohmann::json::parse(lines[2])["extension"].get<std::string>(), StartsWith("声音文件   ("));
  EXPECT_EQ(nlohmann::json::parse(lines[2])["size"], "4MB");
}

TEST_F(PanliftCli, EveryOtherFormShowsTheSameBoxes) {
  const std::vector<std::string> links = {Link(kXunlei), Link(kBaidu)};
  const std::vector<nlohmann::ordered_json> r = Resolved(links);
  ASSERT_EQ(r.size(), 2u);
  auto s = [&](std::size_t i, const char* member) { return r[i][member].get<std::string>(); };
  std::string lines, urls, curl, aria2;
  for (std::size_t i = 0; i < r.size(); ++i) {
    lines += "link: " + s(i, "link") + "\nname: " + s(i, "name") + "\nextension: " + s(i, "extension") +
             "\nsize: " + s(i, "size") + "\nhash: " + s(i, "hash") + "\nurl: " + s(i, "url") + "\n\n";
    urls += s(i, "url") + "\n";
    // "?" is a pattern character of the shell.
    const std::string url = s(i, "url");
    curl += "curl -L -o '" + s(i, "name") + "' " + (url.find('?') == std::string::npos ? url : "'" + url + "'") + "\n";
    aria2 += s(i, "url") + "\n  out=" + s(i, "name") + "\n";
  }
  const std::pair<std::vector<std::string>, std::string> forms[] = {
      {{}, lines}, {{"-g"}, urls}, {{"--get-url"}, urls}, {{"--print", "curl"}, curl}, {{"--print=aria2"}, aria2}};
  for (const auto& [options, expected] : forms) {
    std::vector<std::string> arguments = options;
    arguments.insert(arguments.end(), links.begin(), links.end());
    CliOutcome run = Run(arguments);
    SCOPED_TRACE(options.empty() ? "default" : options[0]);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.err, "");
  }
}

TEST_F(PanliftCli, BatchFromStandardInputWithComments) {
  const std::string input = "# links for tonight\n\n" + Link(kXunlei) + "\r\n   # " + Link(kBaidu) + "\n  " +
                            Link(k360) + "  \n";
  CliOutcome run = Run({"-g", "-a", "-"}, input);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, Share(kXunlei).downloadAddress + "\n" + Share(k360).downloadAddress + "\n");
}

TEST_F(PanliftCli, AMixedBatchPrintsEveryLinkAndEndsWithOne) {
  const std::vector<std::string> links = {Link(kXunlei), Link(kExpired), Link(kBaidu), Link(kRefused), Link(kGone)};
  std::vector<std::string> arguments = {"-j"};
  arguments.insert(arguments.end(), links.begin(), links.end());
  CliOutcome run = Run(arguments);
  EXPECT_EQ(run.exitCode, 1);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), links.size()) << run.out;
  for (std::size_t i = 0; i < links.size(); ++i) {
    const nlohmann::json object = nlohmann::json::parse(lines[i]);
    const bool ok = i == 0 || i == 2;
    SCOPED_TRACE(links[i]);
    EXPECT_EQ(object["link"], links[i]);
    EXPECT_EQ(object["ok"], ok);
    // Nothing of the link before shows: the line is what the link gives in a fresh run.
    if (!ok) {
      EXPECT_EQ(lines[i] + "\n", Run({"-j", links[i]}).out);
    }
  }
  EXPECT_EQ(nlohmann::json::parse(lines[1])["url"], "");
  const std::string answer = nlohmann::json::parse(lines[3])["url"];
  EXPECT_THAT(answer, HasSubstr("今日下载次数已达上限，请明天再试")) << "the box holds the service's answer";
  EXPECT_EQ(nlohmann::json::parse(lines[4])["url"], "");

  const std::vector<std::string> messages = Lines(run.err);
  ASSERT_EQ(messages.size(), 3u) << run.err;
  EXPECT_EQ(messages[0], "panlift-cli: " + links[1] + ": no download address found");
  EXPECT_EQ(messages[1], "panlift-cli: " + links[3] + ": the service's message: " + answer);
  EXPECT_EQ(messages[2], "panlift-cli: " + links[4] + ": no download address found");

  // -g prints only what can be downloaded; -q keeps standard error for the exit code alone.
  arguments[0] = "-gq";
  run = Run(arguments);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, Share(kXunlei).downloadAddress + "\n" + Share(kBaidu).downloadAddress + "\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(PanliftCli, LinksOfUnknownHostsAndTheServiceOption) {
  const std::string own = "http://127.0.0.1:" + std::to_string(simulator->Port()) + "/d/" + kXunlei;
  CliOutcome run = Run({"-j", own, Link(kXunlei)});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(Lines(run.out).size(), 1u) << "the known link is still resolved: " << run.out;
  EXPECT_EQ(run.err, "panlift-cli: " + own +
                         ": unknown host 127.0.0.1: not a link of a known service (choose one with --service)\n");
  EXPECT_EQ(Run({"not a link"}).err,
            "panlift-cli: not a link: unknown host not a link: not a link of a known service (choose one with "
            "--service)\n");

  // -s resolves any link with that service: this one the simulator does not serve, and a
  // Baidu link read as a Xunlei page gives nothing.
  for (const std::string& link : {own, Link(kBaidu)}) {
    run = Run({"-s", "xunlei", "-j", link});
    EXPECT_EQ(run.exitCode, 1) << link;
    const nlohmann::json object = nlohmann::json::parse(run.out);
    EXPECT_EQ(object["service"], "xunlei") << link;
    EXPECT_EQ(object["ok"], false) << link;
  }
}

TEST_F(PanliftCli, UsageErrorsEndWithTwo) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "no link given"},
      {{"--frobnicate", Link(kXunlei)}, "unknown option --frobnicate"},
      {{"-a", "/nonexistent/links.txt", Link(kXunlei)},
       "cannot read batch file /nonexistent/links.txt: No such file or directory"},
      {{"-s", "dropbox", Link(kXunlei)}, "unknown service \"dropbox\" (xunlei, baidu or 360)"},
      {{"--print", "wget", Link(kXunlei)}, "unknown --print form \"wget\" (curl or aria2)"},
      {{"-g", "-j", Link(kXunlei)}, "-g, -j and --print are alternatives; give one"},
      {{Link(kXunlei), "--service"}, "--service needs a value"},
  };
  for (const auto& [arguments, message] : cases) {
    CliOutcome run = Run(arguments);
    SCOPED_TRACE(message);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "") << "nothing is resolved";
    EXPECT_EQ(run.err, "panlift-cli: " + message + "\nTry 'panlift-cli --help' for more information.\n");
  }
}

TEST_F(PanliftCli, HelpAndVersion) {
  CliOutcome help = Run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.err, "");
  for (const char* option : {"-a, --batch-file FILE", "-s, --service NAME", "-g, --get-url", "-j, --dump-json",
                             "--print FORM", "--proxy URL", "-q, --quiet", "-v, --verbose", "-h, --help", "--version",
                             "Exit status", "kuai.xunlei.com", "yunpan.360.cn"}) {
    EXPECT_THAT(help.out, HasSubstr(option));
  }
  EXPECT_EQ(Run({"-h"}).out, help.out);
  CliOutcome version = Run({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "panlift-cli " PANLIFT_VERSION "\n");
}

TEST_F(PanliftCli, VerboseShowsEachRequest) {
  CliOutcome run = Run({"-v", "-g", Link(kXunlei), Link(k360)});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, Share(kXunlei).downloadAddress + "\n" + Share(k360).downloadAddress + "\n");
  EXPECT_THAT(run.err, HasSubstr("panlift-cli: GET " + Link(kXunlei) + "\npanlift-cli:   status 200\n"));
  EXPECT_THAT(run.err, HasSubstr("panlift-cli: GET " + Link(k360) + "\n"));
  EXPECT_THAT(run.err, HasSubstr("panlift-cli: POST http://yunpan.360.cn/share/downloadfile/\n"));
}

// Every character of a link reaches the box as typed, Chinese ones too (a key event of
// the test framework's kind aborted on them), and the request carries the whole link.
TEST_F(PanliftCli, ALinkWithChineseCharactersIsTypedWhole) {
  const std::string link = "http://kuai.xunlei.com/d/中文分享";
  CliOutcome run = Run({"-v", "-j", link});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(nlohmann::json::parse(run.out)["link"], link);
  EXPECT_THAT(run.err, HasSubstr("panlift-cli: GET " + link + "\npanlift-cli:   status 404\n"));
}

TEST_F(PanliftCli, ProgressOnATerminalOnly) {
  const std::vector<std::string> links = {Link(kXunlei), Link(kBaidu)};
  CliOutcome run = Run({"-g", links[0], links[1]}, "", true);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_THAT(run.err, HasSubstr("panlift-cli: link 1 of 2: " + links[0]));
  EXPECT_THAT(run.err, HasSubstr("panlift-cli: link 2 of 2: " + links[1]));
  EXPECT_THAT(run.err, testing::EndsWith("\r\033[K")) << "rubbed out at the end";
  EXPECT_THAT(run.out, Not(HasSubstr("link 1 of 2")));
  EXPECT_EQ(Run({"-gq", links[0], links[1]}, "", true).err, "");
  EXPECT_EQ(Run({"-g", links[0]}, "", true).err, "") << "one link has no progress";
}

// The simulator's answer to a GET of path on host, as a proxy would relay it.
std::string Relay(int port, const std::string& host, const std::string& path) {
  int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    const std::string request = "GET " + path + " HTTP/1.0\r\nHost: " + host + "\r\n\r\n";
    if (write(s, request.data(), request.size()) == static_cast<ssize_t>(request.size())) {
      char buffer[4096];
      for (ssize_t n; (n = read(s, buffer, sizeof buffer)) > 0;) answer.append(buffer, static_cast<std::size_t>(n));
    }
  }
  close(s);
  std::size_t body = answer.find("\r\n\r\n");
  return body == std::string::npos ? "" : answer.substr(body + 4);
}

// The Baidu Pan page comes through the system's proxy setting, which --proxy sets. The
// link is not aimed at the simulator, so only the proxy can reach it.
TEST_F(PanliftCli, ProxyCarriesTheRequestsThatUseTheSystemSetting) {
  const testsupport::SimulatedShare& share = Share(kBaidu);
  const std::string path = share.link.substr(share.link.find('/', 7));
  testsupport::HttpTestServer proxy;
  proxy.Route(share.link, [&](const testsupport::HttpRequestRecord&) {
    return testsupport::HttpResponse::Text(Relay(simulator->Port(), "pan.baidu.com", path));
  });
  CliOutcome run = cli_test::RunCli({{"--proxy", proxy.Url(""), "-g", share.link}, {}, "", false});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, share.downloadAddress + "\n");
  ASSERT_FALSE(proxy.Requests().empty());
  EXPECT_EQ(proxy.Requests()[0].target, share.link);
  EXPECT_EQ(proxy.Requests()[0].Header("Host"), "pan.baidu.com");
}

}  // namespace
