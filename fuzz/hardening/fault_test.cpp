// Hostile servers and broken networks, through the real program: panlift-cli against the
// simulator serving the fault catalogue beside this file, one share per fault. Each case
// says what the boxes show and the bound within which the resolve must end (the tool is
// killed at the bound, so a hang fails the case instead of holding up the suite).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "testsupport/process_run.h"
#include "testsupport/simulator.h"

namespace {

struct FaultCase {
  const char* id;
  bool resolved;     // the boxes show the share's own values; otherwise the failure's
  const char* size;  // the size box
  int boundSeconds;
  const char* note;
};

void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.id; }

// What the boxes show when a resolve finds nothing: Xunlei and Baidu empty the boxes (the
// size box shows 0B); 360 leaves them as they were, empty in a fresh tool.
const FaultCase kCases[] = {
    {"XlEndless", true, "1MB", 60, "the read stops at 64 MiB and the page's start has the fields"},
    {"XlSilent", false, "0B", 30, "nothing comes for 2 s, then the connection closes"},
    {"XlReset", true, "2KB", 30, "what arrived before the reset is the page"},
    {"XlRedirect", false, "0B", 30, "WinInet gives up after 20 redirects"},
    {"XlHeaders", true, "4KB", 30, "the header block does not fit the 1 KiB buffer: no cookies, the page still reads"},
    {"XlChunks", false, "0B", 30, "the body ends at the broken chunk, before the fields"},
    {"XlGarbage", false, "0B", 30, "no HTTP response: no body"},
    {"XlRegex", true, "3MB", 60, "the searches past the fields give up; the fields' matches stay"},
    {"BdEndless", true, "1MB", 60, "the Internet library stops at 64 MiB as well"},
    {"BdReset", true, "2KB", 30, "what arrived before the reset is the page"},
    {"BdGarbage", false, "0B", 30, "no HTTP response: no body"},
    {"BdRegex", true, "3MB", 60, "the searches past the fields give up; the fields' matches stay"},
    {"YpForever", false, "", 110, "each of the five reads of the configuration runs into the 10 s script limit"},
    {"YpArray", false, "", 60, "the script engine's memory cap ends each read of the configuration"},
    {"YpAnswer", false, "", 110, "the 64 MiB answer cannot be read as JSON: the address box shows it whole"},
    {"YpGarbage", false, "", 30, "no page: the endpoint answers that the file does not exist"},
};

class Faults : public testing::TestWithParam<FaultCase> {
 protected:
  static void SetUpTestSuite() {
    simulator = new testsupport::Simulator({.catalogue = PANLIFT_FAULT_CATALOGUE, .quiet = true});
  }
  static void TearDownTestSuite() {
    delete simulator;
    simulator = nullptr;
  }
  static testsupport::Simulator* simulator;
};

testsupport::Simulator* Faults::simulator = nullptr;

TEST_P(Faults, ResolveEndsWithinItsBound) {
  const FaultCase& c = GetParam();
  const testsupport::SimulatedShare& share = simulator->Share(c.id);
  testsupport::ProcessRequest request;
  request.arguments = {PANLIFT_CLI, "-q", "-j", share.link};
  request.environment = {{"PANLIFT_CONNECT_TO", simulator->ConnectTo()}};
  request.boundSeconds = c.boundSeconds;
  const testsupport::ProcessRun run = testsupport::RunProcess(request);
  ASSERT_TRUE(run.finished) << c.note << ": still running after " << c.boundSeconds << " s";
  ASSERT_EQ(run.exitCode, c.resolved ? 0 : 1) << run.err;
  const auto boxes = nlohmann::json::parse(run.out);
  EXPECT_EQ(boxes["size"], c.size) << c.note;
  if (c.resolved) {
    EXPECT_EQ(boxes["name"], share.name) << c.note;
    EXPECT_EQ(boxes["url"], share.downloadAddress) << c.note;
    EXPECT_EQ(boxes["hash"], share.md5) << c.note;
    return;
  }
  EXPECT_EQ(boxes["name"], "") << c.note;
  EXPECT_EQ(boxes["hash"], "") << c.note;
  if (std::string(c.id) == "YpAnswer") {
    // Not an answer the resolver can read: the address box shows it whole.
    const std::string url = boxes["url"];
    EXPECT_EQ(url.size(), 64u << 20);
    EXPECT_EQ(url.rfind("{\"errno\":0,\"errmsg\":", 0), 0u);
  } else {
    EXPECT_EQ(boxes["url"], "") << c.note;
  }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, Faults, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.id); });

}  // namespace
