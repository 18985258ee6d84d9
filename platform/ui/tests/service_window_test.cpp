// The service window answers messages on the GUI thread, whoever sends them.
#include "ui/service_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "ui/application.h"

namespace {

constexpr UINT kExitRequest = 0x83E7;

// Pumps the GUI thread until a quit arrives, then clears it for the next test.
void PumpUntilQuit() {
  while (!ui::QuitRequested()) ui::WaitAndHandleEvents();
  ui::ResetQuit();
}

struct Seen {
  std::thread::id thread;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

ui::ServiceWindow::Procedure Recording(Seen& seen) {
  return [&seen](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    seen = {std::this_thread::get_id(), message, wParam, lParam};
    return static_cast<LRESULT>(wParam) * 100 + lParam;
  };
}

TEST(ServiceWindow, OnTheGuiThreadTheProcedureRunsDirectly) {
  Seen seen;
  ui::ServiceWindow window(Recording(seen));
  EXPECT_EQ(window.Send(kExitRequest, 5, 3), 503);  // no pumping needed
  EXPECT_EQ(seen.thread, std::this_thread::get_id());
  EXPECT_EQ(seen.message, kExitRequest);
  EXPECT_EQ(seen.wParam, 5u);
  EXPECT_EQ(seen.lParam, 3);
}

TEST(ServiceWindow, FromAnotherThreadTheGuiThreadAnswersWhenItPumps) {
  Seen seen;
  ui::ServiceWindow window(Recording(seen));
  LRESULT answer = 0;
  std::thread other([&] {
    answer = window.Send(kExitRequest, 7, -2);
    ui::PostQuitMessage(0);
  });
  PumpUntilQuit();
  other.join();
  EXPECT_EQ(answer, 698);
  EXPECT_EQ(seen.thread, std::this_thread::get_id());
  EXPECT_EQ(seen.message, kExitRequest);
  EXPECT_EQ(seen.lParam, -2);
}

TEST(ServiceWindow, EverySenderGetsItsOwnAnswer) {
  std::atomic<int> wrongThread{0};
  const std::thread::id gui = std::this_thread::get_id();
  ui::ServiceWindow window([&](UINT, WPARAM wParam, LPARAM) -> LRESULT {
    if (std::this_thread::get_id() != gui) ++wrongThread;
    return static_cast<LRESULT>(wParam) + 1000;
  });
  constexpr int kSenders = 4;
  std::vector<LRESULT> answers(kSenders);
  std::atomic<int> finished{0};
  std::vector<std::thread> senders;
  for (int i = 0; i < kSenders; ++i) {
    senders.emplace_back([&, i] {
      for (int round = 0; round < 10; ++round) answers[i] += window.Send(1, i, 0);
      if (++finished == kSenders) ui::PostQuitMessage(0);
    });
  }
  PumpUntilQuit();
  for (std::thread& sender : senders) sender.join();
  for (int i = 0; i < kSenders; ++i) EXPECT_EQ(answers[i], 10 * (i + 1000)) << i;
  EXPECT_EQ(wrongThread, 0);
}

// As an exit request does: the procedure tears the window down while its sender waits.
TEST(ServiceWindow, CanBeDestroyedFromInsideItsOwnProcedure) {
  std::unique_ptr<ui::ServiceWindow> window;
  window = std::make_unique<ui::ServiceWindow>([&window](UINT, WPARAM wParam, LPARAM) -> LRESULT {
    window.reset();
    return static_cast<LRESULT>(wParam);
  });
  ui::ServiceWindow* target = window.get();
  LRESULT answer = 0;
  std::thread other([&] {
    answer = target->Send(kExitRequest, 42, 0);
    ui::PostQuitMessage(0);
  });
  PumpUntilQuit();
  other.join();
  EXPECT_EQ(answer, 42);
  EXPECT_EQ(window, nullptr);
  while (ui::HandleWaitingEvents()) {  // lets the deferred clean-up run
  }
}

TEST(ServiceWindow, CanBeDestroyedFromInsideADirectSend) {
  std::unique_ptr<ui::ServiceWindow> window;
  window = std::make_unique<ui::ServiceWindow>([&window](UINT, WPARAM, LPARAM) -> LRESULT {
    window.reset();
    return 9;
  });
  EXPECT_EQ(window->Send(1, 0, 0), 9);
  EXPECT_EQ(window, nullptr);
}

TEST(ServiceWindow, DestroyingItWithNothingPendingIsClean) {
  int calls = 0;
  {
    ui::ServiceWindow window([&](UINT, WPARAM, LPARAM) -> LRESULT { return ++calls; });
  }
  while (ui::HandleWaitingEvents()) {
  }
  EXPECT_EQ(calls, 0);
}

}  // namespace
