// The clipboard and the pump for waiting messages.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <cstring>

#include "core_call.h"
#include "kernel/process.h"
#include "ui/application.h"
#include "ui/clipboard.h"

namespace core_test {
namespace {

namespace command = runtime::core::command;

// The CF_TEXT bytes on the clipboard, or null text when there are none.
std::string ClipboardText() {
  EXPECT_TRUE(OpenClipboard(nullptr));
  std::string text = "(none)";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    if (bytes) text.assign(bytes, strnlen(bytes, GlobalSize(data)));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

TEST(Clipboard, HoldsTheTextAfterward) {
  const char* const texts[] = {
      "http://example.com/file?id=1",
      "\xD6\xD0\xCE\xC4\xCE\xC4\xBC\xFE.zip",  // 中文文件.zip
      "",
  };
  for (const char* text : texts) {
    EXPECT_TRUE(CallBool(command::SetClipboardText, {Text(text)})) << text;
    EXPECT_EQ(ClipboardText(), text);
  }
}

TEST(Clipboard, FailsWhileOpenElsewhereAndClosesAfterUse) {
  ASSERT_TRUE(CallBool(command::SetClipboardText, {Text("before")}));
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(CallBool(command::SetClipboardText, {Text("while open")}));
  CloseClipboard();
  EXPECT_EQ(ClipboardText(), "before");
  // The command closed the clipboard after itself: it opens again.
  ASSERT_TRUE(CallBool(command::SetClipboardText, {Text("after")}));
  ASSERT_TRUE(OpenClipboard(nullptr));
  CloseClipboard();
}

TEST(ProcessEvents, HandlesWhatWaitsAndStopsAtAPendingQuit) {
  int handled = 0;
  QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { ++handled; }, Qt::QueuedConnection);
  QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { ++handled; }, Qt::QueuedConnection);
  Call(command::ProcessEvents);
  EXPECT_EQ(handled, 2);

  ui::PostQuitMessage(0);
  QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { ++handled; }, Qt::QueuedConnection);
  Call(command::ProcessEvents);
  EXPECT_EQ(handled, 2) << "nothing is handled past a pending quit";
  EXPECT_TRUE(ui::QuitRequested()) << "the quit stays pending";
  ui::ResetQuit();
  Call(command::ProcessEvents);
  EXPECT_EQ(handled, 3);
}

}  // namespace
}  // namespace core_test
