// The simulator as a command: its options, its refusal of bad catalogues, its start-up lines
// and its stop on a signal.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "fetch.h"
#include "testsupport/command_run.h"
#include "testsupport/simulator.h"

namespace {

using testsupport::Simulator;
using testsupport::RunCommand;

// Bounded: a catalogue wrongly accepted would have it serve for ever.
testsupport::CommandRun RunSimulator(const std::string& arguments) {
  return RunCommand("timeout 20 " + Simulator::ExecutablePath(), arguments + " </dev/null");
}

int ExitCode(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

struct BadCatalogue {
  const char* text;
  const char* fault;
};

TEST(SimulatorCommand, RefusesABadCatalogueNamingFileAndFault) {
  const BadCatalogue cases[] = {
      {"{\"shares\": [", "not valid JSON: parse error at line 1, column 13"},
      {"[]", "the top level must be an object with a \"shares\" array"},
      {"{\"shares\": []}", "\"shares\" is empty"},
      {"{\"shares\": [{\"service\": \"xunlei\", \"id\": \"a\", \"name\": \"n\"}]}", "share 1 (\"a\"): \"size\" is missing"},
      {"{\"shares\": [{\"service\": \"xunlei\", \"name\": \"n\", \"size\": 1}]}", "share 1: \"id\" is missing"},
      {"{\"shares\": [{\"service\": \"xunlei\", \"id\": \"a\", \"name\": 5, \"size\": 1}]}", "\"name\" must be a string"},
      {"{\"shares\": [{\"service\": \"xunlei\", \"id\": \"a\", \"name\": \"n\", \"size\": -1}]}", "\"size\" must be a whole number"},
      {"{\"shares\": [{\"service\": \"xunlei\", \"id\": \"a\", \"name\": \"n\", \"size\": 1.5}]}", "\"size\" must be a whole number"},
      {"{\"shares\": [{\"service\": \"dropbox\", \"id\": \"a\", \"name\": \"n\", \"size\": 1}]}", "unknown service \"dropbox\""},
      {"{\"shares\": [{\"service\": \"baidu\", \"id\": \"a\", \"name\": \"n\", \"size\": 1},"
       " {\"service\": \"360\", \"id\": \"a\", \"name\": \"m\", \"size\": 2}]}",
       "share 2 (\"a\"): duplicate id: share 1 has it too"},
      {"{\"shares\": [{\"service\": \"baidu\", \"id\": \"a\", \"name\": \"n\", \"sise\": 1}]}", "unknown member \"sise\""},
      {"{\"shares\": [{\"service\": \"baidu\", \"id\": \"a/b\", \"name\": \"n\", \"size\": 1}]}", "\"id\" may hold only"},
      {"{\"shares\": [{\"service\": \"baidu\", \"id\": \"a\", \"name\": \"n\", \"size\": 1, \"errmsg\": \"x\"}]}",
       "\"errmsg\" belongs to 360 Pan shares only"},
      {"{\"shares\": [{\"service\": \"360\", \"id\": \"a\", \"name\": \"n\", \"size\": 1, \"earlier_files\": []}]}",
       "a 360 Pan page lists one file"},
      {"{\"shares\": [{\"service\": \"xunlei\", \"id\": \"a\", \"name\": \"n\", \"size\": 1,"
       " \"earlier_files\": [{\"name\": \"m\"}]}]}",
       "\"earlier_files\" entry 1: \"size\" is missing"},
      // The fault modes of the hardening tests.
      {"{\"shares\": [{\"service\": \"xunlei\", \"id\": \"a\", \"name\": \"n\", \"size\": 1, \"fault\": \"slow\"}]}",
       "unknown fault \"slow\""},
      {"{\"shares\": [{\"service\": \"baidu\", \"id\": \"a\", \"name\": \"n\", \"size\": 1, \"fault\": \"huge-answer\"}]}",
       "fault \"huge-answer\" belongs to 360 Pan shares only"},
      {"{\"shares\": [{\"service\": \"360\", \"id\": \"a\", \"name\": \"n\", \"size\": 1, \"fault\": \"garbage\","
       " \"fault_seconds\": 2}]}",
       "\"fault_seconds\" belongs to the fault \"silent\" only"},
      {"{\"shares\": [{\"service\": \"xunlei\", \"id\": \"a\", \"name\": \"n\", \"size\": 1, \"fault\": \"silent\","
       " \"fault_seconds\": -1}]}",
       "\"fault_seconds\" must be a whole number from 0 to 3600"},
      {"{\"shares\": [{\"service\": \"xunlei\", \"id\": \"a\", \"name\": \"n\", \"size\": 1,"
       " \"fault\": \"regex-worst-case\", \"fault_bytes\": 0}]}",
       "\"fault_bytes\" must be a whole number from 1 to 67108864"},
  };
  std::string file = (std::filesystem::temp_directory_path() / ("catalogue-" + std::to_string(getpid()) + ".json")).string();
  for (const BadCatalogue& c : cases) {
    testsupport::WriteFile(file, c.text);
    auto run = RunSimulator("--port 0 --catalogue " + file);
    EXPECT_EQ(ExitCode(run.status), 2) << c.text;
    EXPECT_EQ(run.output.rfind("panlift-simulator: " + file + ": ", 0), 0u) << run.output;
    EXPECT_NE(run.output.find(c.fault), std::string::npos) << run.output;
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
  }
  std::filesystem::remove(file);

  auto missing = RunSimulator("--catalogue /nonexistent/catalogue.json");
  EXPECT_EQ(ExitCode(missing.status), 2);
  EXPECT_EQ(missing.output, "panlift-simulator: /nonexistent/catalogue.json: cannot be read (No such file or directory)\n");
}

TEST(SimulatorCommand, RefusesABadOptionWithAHint) {
  for (const char* arguments : {"--bogus", "extra", "--port", "--port 70000", "--port x", "--quiet=1",
                                "--print-env --port 0", "--catalogue="}) {
    auto run = RunSimulator(arguments);
    EXPECT_EQ(ExitCode(run.status), 2) << arguments;
    EXPECT_NE(run.output.find("(see panlift-simulator --help)"), std::string::npos) << arguments << ": " << run.output;
  }
}

TEST(SimulatorCommand, PrintsTheConnectToMapForShells) {
  auto run = RunSimulator("--port 9123 --print-env");
  EXPECT_EQ(ExitCode(run.status), 0);
  EXPECT_EQ(run.output,
            "export PANLIFT_CONNECT_TO='kuai.xunlei.com:80=127.0.0.1:9123,pan.baidu.com:80=127.0.0.1:9123,"
            "yunpan.cn:80=127.0.0.1:9123,yunpan.360.cn:80=127.0.0.1:9123'\n");
  auto fallback = RunSimulator("--print-env");
  EXPECT_NE(fallback.output.find("=127.0.0.1:8000'"), std::string::npos) << fallback.output;
}

TEST(SimulatorCommand, VersionAndHelp) {
  auto version = RunSimulator("--version");
  EXPECT_EQ(ExitCode(version.status), 0);
  EXPECT_EQ(version.output, "panlift-simulator " PANLIFT_VERSION "\n");
  auto help = RunSimulator("--help");
  EXPECT_EQ(ExitCode(help.status), 0);
  EXPECT_NE(help.output.find("--catalogue FILE"), std::string::npos);
}

TEST(SimulatorCommand, AnnouncesEveryShareOfTheCatalogue) {
  Simulator simulator;
  EXPECT_GT(simulator.Port(), 0);
  std::vector<std::string> links;
  for (const auto& share : simulator.Shares()) links.push_back(share.link);
  EXPECT_EQ(simulator.Links(), links);
  EXPECT_EQ(simulator.ConnectTo().find("kuai.xunlei.com:80=127.0.0.1:" + std::to_string(simulator.Port())), 0u);
}

TEST(SimulatorCommand, StopsCleanlyOnSigintAndSigterm) {
  for (int signal : {SIGINT, SIGTERM}) {
    Simulator simulator({.catalogue = "", .quiet = true});
    int status = simulator.Stop(signal);
    EXPECT_TRUE(WIFEXITED(status)) << signal;
    EXPECT_EQ(ExitCode(status), 0) << signal;
  }
}

TEST(SimulatorCommand, StopsWhileASilentShareHoldsAConnection) {
  std::string file = (std::filesystem::temp_directory_path() / ("silent-" + std::to_string(getpid()) + ".json")).string();
  testsupport::WriteFile(file, "{\"shares\": [{\"service\": \"xunlei\", \"id\": \"quiet\", \"name\": \"q.zip\","
                                " \"size\": 1, \"fault\": \"silent\"}]}");
  Simulator simulator({.catalogue = file, .quiet = true});
  std::thread client([&] { share_simulator_test::Get(simulator.Port(), "kuai.xunlei.com", "/d/quiet"); });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the request is being "answered"
  int status = simulator.Stop(SIGTERM);
  client.join();
  std::filesystem::remove(file);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(ExitCode(status), 0);
}

TEST(SimulatorCommand, APortInUseIsAFailureToStart) {
  Simulator simulator({.catalogue = "", .quiet = true});
  auto run = RunSimulator("--port " + std::to_string(simulator.Port()));
  EXPECT_EQ(ExitCode(run.status), 1);
  EXPECT_NE(run.output.find("cannot listen on 127.0.0.1:" + std::to_string(simulator.Port())), std::string::npos);
}

}  // namespace
