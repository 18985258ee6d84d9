// A page that comes slowly: the fetch pumps window messages between its reads, so the
// user can click "解析" again, or close the window, before the page has arrived.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>
#include <cstdio>
#include <functional>

#include "app/testing/program_window.h"
#include "app/window/program.h"
#include "runtime/startup/start.h"
#include "testsupport/http_server.h"
#include "ui/application.h"

namespace {

using namespace std::chrono_literals;
using panlift_test::Click;
using panlift_test::DetailTexts;
using panlift_test::FindMainWindow;
using panlift_test::FreshMainWindow;
using panlift_test::TypeInto;
using testsupport::HttpRequestRecord;
using testsupport::HttpResponse;
using testsupport::HttpTestServer;

// A Xunlei Kuaichuan share page of one file, padded to several read chunks and sent in
// small pieces.
HttpResponse SlowSharePage(const std::string& stem, const std::string& key) {
  std::string page = "<html><input name=\"key\" value='" + key + "'>" +
                     "<input type=\"radio\" checked=\"checked\"   file_name=\"" + stem + ".txt\" file_url=\"http://dl.example/" +
                     stem + "\" file_size=\"2048\" >" + "<!--" + std::string(6000, '.') + "--></html>";
  return HttpResponse::Drip(page, 256, 5ms);
}

// Runs step on the GUI thread every millisecond, from whatever loop pumps, until it answers
// true. (One timer is not re-entered while its step runs, so each step needs its own.)
void Every(std::function<bool()> step) {
  auto* timer = new QTimer;
  timer->setInterval(1);
  QObject::connect(timer, &QTimer::timeout, [timer, step] {
    if (!step()) return;
    timer->stop();
    timer->deleteLater();
  });
  timer->start();
}

TEST(SlowPage, ASecondClickDuringTheFetchResolvesInsideItAndTheFirstClickWritesLast) {
  HttpTestServer server;
  int pages = 0;
  server.Route("/share", [&pages](const HttpRequestRecord&) {
    ++pages;
    return pages == 1 ? SlowSharePage("first", "key-1") : SlowSharePage("second", "key-2");
  });
  auto window = FreshMainWindow();
  ASSERT_NE(window.resolve, nullptr);
  TypeInto(window.link[0], server.Url("/share"));

  bool clickedAgain = false;
  Every([&] {
    if (server.RequestCount() == 0) return false;
    clickedAgain = true;
    Click(window.resolve);
    return true;
  });
  Click(window.resolve);

  EXPECT_TRUE(clickedAgain);
  EXPECT_EQ(server.RequestCount(), 2u);
  // The second click's resolve ran to its end inside the first one's fetch; then the first
  // one finished and wrote its page's values over the second's.
  auto boxes = DetailTexts(window);
  EXPECT_EQ(boxes[0], "first.txt");
  EXPECT_EQ(boxes[1], "文本文档   (txt)");
  EXPECT_EQ(boxes[3], "key-1");
  EXPECT_EQ(boxes[4], "http://dl.example/first");
}

// The whole program as the run step starts it; the user closes the window once the page's
// request has reached the server.
[[noreturn]] void CloseTheWindowDuringAFetch() {
  static HttpTestServer server;
  server.Route("/share", SlowSharePage("late", "key"));
  ui::EnsureApplication();
  Every([] {
    auto window = FindMainWindow();
    if (!window.resolve) return false;
    TypeInto(window.link[0], server.Url("/share"));
    static bool resolving = true;
    Every([form = window.form] {
      if (server.RequestCount() == 0) return false;
      std::fprintf(stderr, resolving ? "closed during the fetch\n" : "closed after the fetch\n");
      form->close();
      return true;
    });
    Click(window.resolve);
    resolving = false;
    return true;
  });
  runtime::RunProgram(app::EntryProcedure);
}

TEST(SlowPage, ClosingTheWindowDuringTheFetchEndsTheProgramInOrder) {
  EXPECT_EXIT(CloseTheWindowDuringAFetch(), testing::ExitedWithCode(0),
              testing::AllOf(testing::HasSubstr("closed during the fetch"), testing::Not(testing::HasSubstr("错误"))));
}

}  // namespace
