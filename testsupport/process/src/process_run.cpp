#include "testsupport/process_run.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>

namespace testsupport {
namespace {

[[noreturn]] void StartChild(const ProcessRequest& request, int in, int out, int err) {
  dup2(in, STDIN_FILENO);
  dup2(out, STDOUT_FILENO);
  dup2(err, STDERR_FILENO);
  for (const std::string& name : request.unset) unsetenv(name.c_str());
  for (const auto& [name, value] : request.environment) setenv(name.c_str(), value.c_str(), 1);
  // The sanitizer build: the program's standard error is under test, not the suppression counts.
  if (const char* leaks = std::getenv("LSAN_OPTIONS")) {
    setenv("LSAN_OPTIONS", (std::string(leaks) + ":print_suppressions=0").c_str(), 1);
  }
  std::vector<std::string> arguments = request.arguments;
  std::vector<char*> argv;
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  execv(argv[0], argv.data());
  _exit(127);
}

void CloseOnExec(int fd) { fcntl(fd, F_SETFD, FD_CLOEXEC); }

}  // namespace

ProcessRun RunProcess(const ProcessRequest& request) {
  ProcessRun run;
  if (request.arguments.empty()) return run;
  int in[2], out[2], err[2] = {-1, -1};
  if (pipe2(in, O_CLOEXEC) != 0) return run;
  if (pipe2(out, O_CLOEXEC) != 0) {
    close(in[0]);
    close(in[1]);
    return run;
  }
  const bool errorsOpen = request.terminal ? openpty(&err[0], &err[1], nullptr, nullptr, nullptr) == 0
                                           : pipe2(err, O_CLOEXEC) == 0;
  if (!errorsOpen) {
    for (int fd : {in[0], in[1], out[0], out[1]}) close(fd);
    return run;
  }
  CloseOnExec(err[0]);
  CloseOnExec(err[1]);
  // A child that stops reading its input must not end the test with SIGPIPE.
  signal(SIGPIPE, SIG_IGN);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) StartChild(request, in[0], out[1], err[1]);
  close(in[0]);
  close(out[1]);
  close(err[1]);

  // The input goes in as the child takes it, so a child that writes much before it reads
  // cannot block against us.
  fcntl(in[1], F_SETFL, O_NONBLOCK);
  std::size_t written = 0;
  if (request.input.empty()) {
    close(in[1]);
    in[1] = -1;
  }
  const auto deadline = start + std::chrono::seconds(request.boundSeconds);
  int open = 2;
  char buffer[65536];
  while (open > 0 && std::chrono::steady_clock::now() < deadline) {
    pollfd fds[3] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}, {in[1], POLLOUT, 0}};
    if (poll(fds, 3, 200) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n <= 0) {  // end of output (a pseudo-terminal says EIO once the child has gone)
        close(fds[i].fd);
        (i == 0 ? out[0] : err[0]) = -1;
        --open;
        continue;
      }
      (i == 0 ? run.out : run.err).append(buffer, static_cast<std::size_t>(n));
    }
    if (in[1] >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
      const ssize_t n = write(in[1], request.input.data() + written, request.input.size() - written);
      if (n > 0) written += static_cast<std::size_t>(n);
      if ((n < 0 && errno != EAGAIN) || written == request.input.size()) {
        close(in[1]);
        in[1] = -1;
      }
    }
  }
  for (int fd : {in[1], out[0], err[0]}) {
    if (fd >= 0) close(fd);
  }
  run.finished = open == 0;
  if (!run.finished) kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (run.finished && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  return run;
}

}  // namespace testsupport
