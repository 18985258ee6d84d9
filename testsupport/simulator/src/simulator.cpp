#include "testsupport/simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "share_simulator/addresses.h"
#include "share_simulator/catalogue.h"
#include "share_simulator/served_files.h"

extern char** environ;

namespace testsupport {
namespace {

using Clock = std::chrono::steady_clock;
// Generous: the sanitizer build hashes the catalogue's files slowly.
constexpr auto kStartLimit = std::chrono::seconds(60);
constexpr auto kStopLimit = std::chrono::seconds(10);

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

// Reads the child's standard output up to its "ready" line; false on end of output or time.
bool ReadUntilReady(int fd, std::vector<std::string>& lines, std::string& output) {
  const auto deadline = Clock::now() + kStartLimit;
  std::string pending;
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
    char buffer[4096];
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) return false;
    output.append(buffer, static_cast<std::size_t>(n));
    pending.append(buffer, static_cast<std::size_t>(n));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      lines.push_back(pending.substr(0, end));
      pending.erase(0, end + 1);
      if (lines.back() == "ready") return true;
    }
  }
}

}  // namespace

std::string Simulator::ExecutablePath() { return PANLIFT_SIMULATOR; }
std::string Simulator::DefaultCatalogue() { return PANLIFT_SIMULATOR_CATALOGUE; }

Simulator::Simulator(SimulatorOptions options) {
  namespace sim = share_simulator;
  std::string catalogue = options.catalogue.empty() ? DefaultCatalogue() : options.catalogue;
  sim::Catalogue expected = sim::LoadCatalogue(catalogue);  // a bad one throws before any child runs
  std::vector<std::string> arguments = {ExecutablePath(), "--port", "0", "--catalogue", catalogue};
  if (options.quiet) arguments.push_back("--quiet");
  std::vector<char*> argv;
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);

  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("simulator: no pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (spawned != 0) {
    close(out[0]);
    pid_ = -1;
    throw std::runtime_error("simulator: cannot start " + arguments[0]);
  }

  std::vector<std::string> lines;
  std::string output;
  bool ready = ReadUntilReady(out[0], lines, output);
  close(out[0]);  // it prints nothing after "ready"
  if (!ready) {
    Stop(SIGKILL);
    throw std::runtime_error("simulator did not get ready; it printed: " + output);
  }
  for (const std::string& line : lines) {
    std::vector<std::string> f = Fields(line);
    if (f[0] == "listening" && f.size() == 2) port_ = std::stoi(f[1].substr(f[1].rfind(':') + 1));
    if (f[0] == "connect-to" && f.size() == 2) connectTo_ = f[1];
    if (f[0] == "share" && f.size() == 4) links_.push_back(f[2]);
  }

  std::string origin = "http://" + std::string(sim::kLoopback) + ":" + std::to_string(port_);
  for (const sim::Share& share : expected.shares) {
    std::vector<sim::ServedFile> files = sim::ServedFiles(share, origin);
    const sim::ServedFile& last = files.back();
    shares_.push_back({std::string(sim::ServiceName(share.service)), share.id, sim::ShareLink(share), last.name,
                       last.size, last.md5, last.downloadAddress, last.servable, share.hasFields, share.errmsg,
                       files.size()});
  }
}

Simulator::~Simulator() { Stop(); }

const SimulatedShare& Simulator::Share(std::string_view id) const {
  for (const SimulatedShare& share : shares_) {
    if (share.id == id) return share;
  }
  throw std::out_of_range("simulator: no share " + std::string(id));
}

int Simulator::Stop(int signal) {
  if (pid_ < 0) return status_;
  kill(pid_, signal);
  const auto deadline = Clock::now() + kStopLimit;
  while (waitpid(pid_, &status_, WNOHANG) == 0) {
    if (Clock::now() > deadline) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status_, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  pid_ = -1;
  return status_;
}

}  // namespace testsupport
