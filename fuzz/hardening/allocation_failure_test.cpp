// The runtime heap refusing one allocation of a whole resolve, for every allocation the
// resolve makes (sampled when there are many), each run in a child process: it ends in the
// allocation error with exit code 255, or it completes; it never crashes, hangs or leaks
// (the sanitizer build checks leaks in the child, whose exit code then differs).
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "allocation_refusal.h"
#include "app/base/main_window_units.h"
#include "app/base/runtime_calls.h"
#include "app/testing/program_test.h"
#include "app/window/program.h"
#include "testsupport/simulator.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PANLIFT_LEAK_CHECK 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define PANLIFT_LEAK_CHECK 1
#endif
#ifdef PANLIFT_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace {

struct ServiceCase {
  const char* name;
  std::uint32_t radioBox, linkBox;
  const char* shareId;  // a share that resolves
};

void PrintTo(const ServiceCase& c, std::ostream* out) { *out << c.name; }

const ServiceCase kServices[] = {
    {"xunlei", app::units::单选框1, app::units::迅雷下载编辑框, "bTZ0X4GE"},
    {"baidu", app::units::单选框2, app::units::百度下载编辑框, "3sPwx9Lc"},
    {"pan360", app::units::单选框3, app::units::三六零下载编辑框, "QzTk8wPm2vN5c"},
};

// Children refused beyond this many allocations are sampled evenly, first and last ones kept.
constexpr std::int64_t kMostChildren = 300;
constexpr int kChildBoundSeconds = 60;

// A click on "解析" as the user makes it: the service's radio box checked, its link typed.
void ResolveByClick(const ServiceCase& service, const std::string& link) {
  app::testing::LoadMainWindow();
  app::WriteIntProperty(app::MainWindow, service.radioBox, app::CheckedProperty, 1);
  app::testing::SetBoxText(service.linkBox, link);
  app::OnResolveClicked(nullptr, 0);
}

[[noreturn]] void EndChild() {
#ifdef PANLIFT_LEAK_CHECK
  __lsan_do_leak_check();  // a leak ends the child with LeakSanitizer's exit code
#endif
  std::fflush(nullptr);
  _exit(0);
}

struct Child {
  bool finished = false;
  int exitCode = -1;  // -1: a signal
  int signal = 0;
  std::string out, err;
};

// Runs `body` in a child process, with its standard output and error captured.
template <typename Body>
Child RunChild(Body body) {
  int out[2], err[2];
  Child child;
  if (pipe(out) != 0 || pipe(err) != 0) return child;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {out[0], out[1], err[0], err[1]}) close(fd);
    body();
    EndChild();
  }
  close(out[1]);
  close(err[1]);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kChildBoundSeconds);
  int fds[2] = {out[0], err[0]};
  char buffer[4096];
  while ((fds[0] >= 0 || fds[1] >= 0) && std::chrono::steady_clock::now() < deadline) {
    pollfd polled[2] = {{fds[0], POLLIN, 0}, {fds[1], POLLIN, 0}};
    if (poll(polled, 2, 200) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (!(polled[i].revents & (POLLIN | POLLHUP))) continue;
      const ssize_t n = read(fds[i], buffer, sizeof buffer);
      if (n > 0) {
        (i == 0 ? child.out : child.err).append(buffer, static_cast<std::size_t>(n));
      } else {
        close(fds[i]);
        fds[i] = -1;
      }
    }
  }
  child.finished = fds[0] < 0 && fds[1] < 0;
  if (!child.finished) kill(pid, SIGKILL);
  for (int fd : fds) {
    if (fd >= 0) close(fd);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) child.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) child.signal = WTERMSIG(status);
  return child;
}

std::vector<std::int64_t> Sample(std::int64_t count) {
  std::vector<std::int64_t> numbers;
  if (count <= kMostChildren) {
    for (std::int64_t n = 1; n <= count; ++n) numbers.push_back(n);
    return numbers;
  }
  for (std::int64_t i = 0; i < kMostChildren; ++i) numbers.push_back(1 + i * (count - 1) / (kMostChildren - 1));
  return numbers;
}

class AllocationFailure : public testing::TestWithParam<ServiceCase> {
 protected:
  static void SetUpTestSuite() {
    simulator = new testsupport::Simulator({.catalogue = "", .quiet = true});
    setenv("PANLIFT_CONNECT_TO", simulator->ConnectTo().c_str(), 1);
  }
  static void TearDownTestSuite() {
    unsetenv("PANLIFT_CONNECT_TO");
    delete simulator;
    simulator = nullptr;
  }
  static testsupport::Simulator* simulator;
};

testsupport::Simulator* AllocationFailure::simulator = nullptr;

TEST_P(AllocationFailure, EveryRefusalEndsInTheErrorOrCompletes) {
  const ServiceCase& service = GetParam();
  const testsupport::SimulatedShare& share = simulator->Share(service.shareId);
  // The count and the address of an undisturbed resolve, from a child (the parent itself
  // never touches the network, so no child inherits a connection in use).
  const Child counted = RunChild([&] {
    runtime::RefuseAllocation(INT64_MAX);
    ResolveByClick(service, share.link);
    const std::int64_t count = runtime::AllocationsCounted();
    runtime::RefuseAllocation(0);
    std::printf("%lld\n%s\n", static_cast<long long>(count),
                app::testing::BoxText(app::units::文件下载地址编辑框).c_str());
  });
  ASSERT_TRUE(counted.finished && counted.exitCode == 0) << counted.err;
  const std::int64_t count = std::atoll(counted.out.c_str());
  ASSERT_EQ(counted.out.substr(counted.out.find('\n') + 1), share.downloadAddress + "\n");
  ASSERT_GT(count, 0);

  int completed = 0, refused = 0;
  for (std::int64_t n : Sample(count)) {
    const Child child = RunChild([&] {
      runtime::RefuseAllocation(n);
      ResolveByClick(service, share.link);
      runtime::RefuseAllocation(0);
    });
    ASSERT_TRUE(child.finished) << "allocation " << n << ": still running after " << kChildBoundSeconds << " s";
    ASSERT_EQ(child.signal, 0) << "allocation " << n << ":\n" << child.err;
    if (child.exitCode == 0) {
      ++completed;
      continue;
    }
    ASSERT_EQ(child.exitCode, 255) << "allocation " << n << ":\n" << child.err;
    EXPECT_NE(child.err.find("字节内存失败!"), std::string::npos) << "allocation " << n << ":\n" << child.err;
    ++refused;
  }
  std::printf("%s: %lld allocations, %zu refused one by one: %d ended in the error, %d completed\n", service.name,
              static_cast<long long>(count), Sample(count).size(), refused, completed);
}

INSTANTIATE_TEST_SUITE_P(Services, AllocationFailure, testing::ValuesIn(kServices),
                         [](const testing::TestParamInfo<ServiceCase>& info) { return std::string(info.param.name); });

}  // namespace
