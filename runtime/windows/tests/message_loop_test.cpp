// RunMessageLoop with its idle callbacks, and a window closed while a handler still runs.
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "runtime/frame.h"
#include "runtime/windows/window_layer.h"
#include "test_program.h"
#include "ui/application.h"

namespace testprogram {
namespace {

using testing::ElementsAre;

class MessageLoop : public WindowTest {
 protected:
  void Load(const std::vector<Binding>& bindings = {}) {
    Install(StandardBlock(bindings));
    runtime::LoadStartupWindow(kWindow);
  }
};

TEST_F(MessageLoop, ReturnsAtOnceWithoutALiveWindow) {
  Install(StandardBlock());
  runtime::RunMessageLoop();  // never loaded
  EXPECT_TRUE(runtime::MessageLoopEntered());
  runtime::LoadStartupWindow(kWindow);
  Widget(kOwn)->close();
  runtime::RunMessageLoop();  // closed already
  EXPECT_FALSE(runtime::AnyWindowLive());
}

std::vector<std::string> idleLog;
int idleCalls = 0;

void Remember(void* name) { idleLog.push_back(static_cast<const char*>(name)); }

void CloseOnThirdCall(void*) {
  if (++idleCalls == 3) Widget(kOwn)->close();
}

TEST_F(MessageLoop, IdleCallbacksRunUntilTheWindowCloses) {
  Load();
  idleLog.clear();
  idleCalls = 0;
  int gone = 0;
  runtime::AddIdleCallback(&gone, Remember, const_cast<char*>("no such window"));
  runtime::AddIdleCallback(Widget(kEdit), Remember, const_cast<char*>("first"));
  runtime::AddIdleCallback(Widget(kOwn), Remember, const_cast<char*>("second"));
  runtime::AddIdleCallback(Widget(kOwn), CloseOnThirdCall, nullptr);
  runtime::RunMessageLoop();
  EXPECT_EQ(idleCalls, 3);
  ASSERT_GE(idleLog.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(idleLog.begin(), idleLog.begin() + 2), (std::vector<std::string>{"second", "first"}))
      << "from the last entry to the first";
  EXPECT_EQ(std::count(idleLog.begin(), idleLog.end(), "no such window"), 0);
  EXPECT_FALSE(runtime::AnyWindowLive());
  runtime::DropIdleCallbacks();
}

TEST_F(MessageLoop, DeliversInputUntilTheWindowCloses) {
  Load({{kButton, 0, 1}});
  SetBehaviour(1, [](const std::int32_t*, std::int32_t) {
    if (Calls().size() == 2) Widget(kOwn)->close();
    return runtime::HandlerResult{0, 0};
  });
  QTimer::singleShot(0, [] { QTest::mouseClick(Widget(kButton), Qt::LeftButton); });
  QTimer::singleShot(5, [] { QTest::mouseClick(Widget(kButton), Qt::LeftButton); });
  runtime::RunMessageLoop();
  EXPECT_THAT(CalledProcedures(), ElementsAre(1, 1));
}

// A resolve pumps messages while it fetches; the user closes the window meanwhile.
TEST_F(MessageLoop, ClosingWhileAHandlerRunsLetsItFinishThenEndsTheLoop) {
  Load({{kButton, 0, 1}});
  struct Seen {
    bool hidden = false, stillLive = false;
    std::string content;
    int pumpsAfterClose = 0;
    int quitCode = -1;
  } seen;
  SetBehaviour(1, [&seen](const std::int32_t*, std::int32_t) {
    QTimer::singleShot(0, [] { Widget(kOwn)->close(); });
    int clicksSeen = 0;
    for (int chunk = 0; chunk < 20; ++chunk) {
      runtime::RuntimeNotify(runtime::notify::HandleWaitingMessages, 0, 0);
      if (ui::QuitRequested()) {
        ++seen.pumpsAfterClose;
        seen.quitCode = ui::QuitExitCode();
      }
      clicksSeen = static_cast<int>(Calls().size());
    }
    EXPECT_EQ(clicksSeen, 1) << "no event of the closed window ran inside the handler";
    seen.hidden = Widget(kOwn)->isHidden();
    WriteText(kEdit, 8, "result");  // the handler's writes still land
    seen.content = ReadText(kEdit, 8);
    seen.stillLive = runtime::AnyWindowLive();
    return runtime::HandlerResult{0, 0};
  });
  QTimer::singleShot(0, [] { QTest::mouseClick(Widget(kButton), Qt::LeftButton); });
  runtime::RunMessageLoop();

  EXPECT_TRUE(seen.hidden);
  EXPECT_EQ(seen.content, "result");
  EXPECT_TRUE(seen.stillLive);
  EXPECT_EQ(seen.pumpsAfterClose, 20);
  EXPECT_EQ(seen.quitCode, 0);
  EXPECT_FALSE(runtime::AnyWindowLive()) << "gone once the handler returned";
  EXPECT_FALSE(ui::QuitRequested()) << "the loop took the quit it ended on";
}

// Done by the loop later on; nothing when the widget has gone meanwhile.
void ClickLater(std::uint32_t unit) {
  QPointer<QWidget> widget = Widget(unit);
  QTimer::singleShot(0, [widget] {
    if (widget) QTest::mouseClick(widget, Qt::LeftButton);
  });
}

void CloseLater() {
  QPointer<QWidget> window = Widget(kOwn);
  QTimer::singleShot(0, [window] {
    if (window) window->close();
  });
}

TEST_F(MessageLoop, ALaterLoopRunsAsTheFirstDid) {
  Load({{kButton, 0, 1}});
  CloseLater();
  runtime::RunMessageLoop();
  ASSERT_FALSE(runtime::AnyWindowLive());

  runtime::LoadStartupWindow(kWindow);
  SetBehaviour(1, [](const std::int32_t*, std::int32_t) {
    Widget(kOwn)->close();
    return runtime::HandlerResult{0, 0};
  });
  ClickLater(kButton);
  runtime::RunMessageLoop();
  EXPECT_THAT(CalledProcedures(), ElementsAre(1)) << "the second loop delivered the click";
  EXPECT_FALSE(runtime::AnyWindowLive());
}

// A handler loads the window again after the user closed it: the program goes on with the
// new window instead of ending under it.
TEST_F(MessageLoop, AWindowReloadedWhileItClosesKeepsTheProgramGoing) {
  Load({{kButton, 0, 1}, {kOwn, 0, 2}});
  struct Seen {
    bool closedMeanwhile = false, quitAfterReload = true, fresh = false;
  } seen;
  SetBehaviour(1, [&seen](const std::int32_t*, std::int32_t) {
    const std::vector<int> called = CalledProcedures();
    if (std::count(called.begin(), called.end(), 1) > 1) {
      Widget(kOwn)->close();  // the second click: now the program ends
      return runtime::HandlerResult{0, 0};
    }
    CloseLater();
    for (int chunk = 0; chunk < 20 && !ui::QuitRequested(); ++chunk) {
      runtime::RuntimeNotify(runtime::notify::HandleWaitingMessages, 0, 0);
    }
    seen.closedMeanwhile = ui::QuitRequested();
    QWidget* closing = Widget(kOwn);
    runtime::LoadStartupWindow(kWindow);
    seen.quitAfterReload = ui::QuitRequested();
    seen.fresh = Widget(kOwn) != closing && Widget(kOwn)->isVisible();
    ClickLater(kButton);
    return runtime::HandlerResult{0, 0};
  });
  Calls().clear();
  ClickLater(kButton);
  runtime::RunMessageLoop();

  EXPECT_TRUE(seen.closedMeanwhile);
  EXPECT_FALSE(seen.quitAfterReload);
  EXPECT_TRUE(seen.fresh);
  EXPECT_THAT(CalledProcedures(), ElementsAre(1, 2, 1)) << "click, creation of the new window, its click";
  EXPECT_FALSE(runtime::AnyWindowLive());
}

}  // namespace
}  // namespace testprogram
