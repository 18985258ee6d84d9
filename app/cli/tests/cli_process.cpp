#include "cli_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace cli_test {
namespace {

// A bound on one run, so that a hanging tool fails the test instead of the suite.
constexpr auto kRunLimit = std::chrono::seconds(90);

[[noreturn]] void StartChild(const CliRequest& request, int in, int out, int err) {
  dup2(in, STDIN_FILENO);
  dup2(out, STDOUT_FILENO);
  dup2(err, STDERR_FILENO);
  for (const char* name : {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY", "no_proxy",
                           "NO_PROXY", "PANLIFT_CONNECT_TO"}) {
    unsetenv(name);
  }
  for (const auto& [name, value] : request.environment) setenv(name.c_str(), value.c_str(), 1);
  // The sanitizer build: the tool's standard error is under test, not the suppression counts.
  if (const char* leaks = std::getenv("LSAN_OPTIONS")) {
    setenv("LSAN_OPTIONS", (std::string(leaks) + ":print_suppressions=0").c_str(), 1);
  }
  std::vector<std::string> arguments = {PANLIFT_CLI};
  arguments.insert(arguments.end(), request.arguments.begin(), request.arguments.end());
  std::vector<char*> argv;
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  execv(argv[0], argv.data());
  _exit(127);
}

}  // namespace

CliOutcome RunCli(const CliRequest& request) {
  CliOutcome outcome;
  int in[2], out[2], err[2] = {-1, -1};
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return outcome;
  if (request.terminal) {
    if (openpty(&err[0], &err[1], nullptr, nullptr, nullptr) != 0) return outcome;
  } else if (pipe2(err, O_CLOEXEC) != 0) {
    return outcome;
  }
  signal(SIGPIPE, SIG_IGN);
  pid_t pid = fork();
  if (pid == 0) StartChild(request, in[0], out[1], err[1]);
  close(in[0]);
  close(out[1]);
  close(err[1]);

  std::size_t written = 0;
  if (request.input.empty()) {
    close(in[1]);
    in[1] = -1;
  }
  const auto deadline = std::chrono::steady_clock::now() + kRunLimit;
  int open = 2;
  while (open > 0 && std::chrono::steady_clock::now() < deadline) {
    pollfd fds[3] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}, {in[1], POLLOUT, 0}};
    if (poll(fds, 3, 1000) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buffer[4096];
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n <= 0) {  // end of output (a pseudo-terminal says EIO once the child has gone)
        close(fds[i].fd);
        (i == 0 ? out[0] : err[0]) = -1;
        --open;
        continue;
      }
      (i == 0 ? outcome.out : outcome.err).append(buffer, static_cast<std::size_t>(n));
    }
    if (in[1] >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
      ssize_t n = write(in[1], request.input.data() + written, request.input.size() - written);
      if (n > 0) written += static_cast<std::size_t>(n);
      if (n <= 0 || written == request.input.size()) {
        close(in[1]);
        in[1] = -1;
      }
    }
  }
  for (int fd : {in[1], out[0], err[0]}) {
    if (fd >= 0) close(fd);
  }
  if (open > 0) kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
  return outcome;
}

}  // namespace cli_test
