#include "bounded_run.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace hardening {

BoundedRun RunWithBound(const std::vector<std::string>& arguments,
                        const std::vector<std::pair<std::string, std::string>>& environment, int boundSeconds) {
  BoundedRun run;
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) return run;
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {out[0], out[1], err[0], err[1]}) close(fd);
    for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  const auto deadline = start + std::chrono::seconds(boundSeconds);
  int open = 2;
  char buffer[65536];
  while (open > 0 && std::chrono::steady_clock::now() < deadline) {
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    if (poll(fds, 2, 200) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (!(fds[i].revents & (POLLIN | POLLHUP))) continue;
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        (i == 0 ? run.out : run.err).append(buffer, static_cast<std::size_t>(n));
      } else {
        fds[i].fd = -1;
        close(i == 0 ? out[0] : err[0]);
        (i == 0 ? out[0] : err[0]) = -1;
        --open;
      }
    }
  }
  run.finished = open == 0;
  if (!run.finished) kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  for (int fd : {out[0], err[0]}) {
    if (fd >= 0) close(fd);
  }
  if (run.finished && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  return run;
}

}  // namespace hardening
