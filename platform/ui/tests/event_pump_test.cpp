// The event pump: posted events, deferred deletions and the quit request that stops it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "ui/application.h"

namespace {

const QEvent::Type kPing = static_cast<QEvent::Type>(QEvent::User + 101);

// Counts the pings it receives and runs an optional action on each.
class Listener : public QObject {
 public:
  std::atomic<int> pings{0};
  std::function<void()> onPing;

  bool event(QEvent* event) override {
    if (event->type() != kPing) return QObject::event(event);
    ++pings;
    if (onPing) onPing();
    return true;
  }
};

void Ping(QObject* target) { QCoreApplication::postEvent(target, new QEvent(kPing)); }

void Drain() {
  while (ui::HandleWaitingEvents()) {
  }
}

class EventPump : public ::testing::Test {
 protected:
  void SetUp() override { Drain(); }
  void TearDown() override {
    ui::ResetQuit();
    Drain();
  }
  Listener listener;
};

TEST_F(EventPump, HandlesWhatWaitsThenReportsNothingLeft) {
  Ping(&listener);
  Ping(&listener);
  Ping(&listener);
  EXPECT_TRUE(ui::HandleWaitingEvents());
  Drain();
  EXPECT_EQ(listener.pings, 3);
  EXPECT_FALSE(ui::HandleWaitingEvents());
}

TEST_F(EventPump, PumpingOnHandlesEventsPostedByHandlers) {
  listener.onPing = [this] {
    if (listener.pings < 5) Ping(&listener);
  };
  Ping(&listener);
  Drain();
  EXPECT_EQ(listener.pings, 5);
}

TEST_F(EventPump, CarriesOutDeferredDeletions) {
  QPointer<QObject> fromHere = new QObject;
  fromHere->deleteLater();
  QPointer<QObject> fromAHandler = new QObject;
  listener.onPing = [&] { fromAHandler->deleteLater(); };
  Ping(&listener);
  Drain();
  EXPECT_TRUE(fromHere.isNull());
  EXPECT_TRUE(fromAHandler.isNull());
}

TEST_F(EventPump, AQuitStaysSetAndStopsEveryPumpUntilReset) {
  ui::PostQuitMessage(7);
  Ping(&listener);
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(ui::HandleWaitingEvents());
    ui::WaitAndHandleEvents();  // returns at once instead of waiting
    EXPECT_TRUE(ui::QuitRequested());
    EXPECT_EQ(ui::QuitExitCode(), 7);
  }
  EXPECT_EQ(listener.pings, 0);

  ui::ResetQuit();
  EXPECT_FALSE(ui::QuitRequested());
  EXPECT_EQ(ui::QuitExitCode(), 0);
  Drain();
  EXPECT_EQ(listener.pings, 1);
}

TEST_F(EventPump, AQuitPostedByAHandlerEndsThePumping) {
  listener.onPing = [this] {
    if (listener.pings == 2) ui::PostQuitMessage(0);
    if (listener.pings < 100) Ping(&listener);  // keeps the queue busy
  };
  Ping(&listener);
  Drain();
  EXPECT_TRUE(ui::QuitRequested());
  const int handled = listener.pings;
  EXPECT_GE(handled, 2);
  EXPECT_LT(handled, 100);  // stopped at the quit, not for want of events
  EXPECT_FALSE(ui::HandleWaitingEvents());
  EXPECT_EQ(listener.pings, handled);
  listener.onPing = nullptr;
}

TEST_F(EventPump, TheLatestQuitCodeCounts) {
  ui::PostQuitMessage(1);
  ui::PostQuitMessage(2);
  EXPECT_EQ(ui::QuitExitCode(), 2);
}

TEST_F(EventPump, AQuitFromAnotherThreadWakesTheWaitingPump) {
  for (int delayMs : {0, 20}) {
    ui::ResetQuit();
    std::thread other([delayMs] {
      std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
      ui::PostQuitMessage(4);
    });
    while (!ui::QuitRequested()) ui::WaitAndHandleEvents();
    other.join();
    EXPECT_EQ(ui::QuitExitCode(), 4);
  }
}

TEST_F(EventPump, WaitingHandlesAnEventPostedFromAnotherThread) {
  std::thread other([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    Ping(&listener);
  });
  while (listener.pings == 0) ui::WaitAndHandleEvents();
  other.join();
  EXPECT_EQ(listener.pings, 1);
}

}  // namespace
