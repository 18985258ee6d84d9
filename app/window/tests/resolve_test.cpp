// "解析" in the real window against the share-service simulator: a link of each service
// fills the five boxes with what the catalogue holds; what an unchecked service, an empty
// link and a failed 360 Pan resolve leave in them.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/base/main_window_units.h"
#include "app/base/runtime_calls.h"
#include "app/testing/program_window.h"
#include "testsupport/simulator.h"

namespace {

using panlift_test::Click;
using panlift_test::DetailTexts;
using panlift_test::FreshMainWindow;
using panlift_test::MainWindowWidgets;
using panlift_test::TypeInto;

class Resolve : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    simulator = std::make_unique<testsupport::Simulator>(testsupport::SimulatorOptions{"", true});
    setenv("PANLIFT_CONNECT_TO", simulator->ConnectTo().c_str(), 1);
  }
  static void TearDownTestSuite() {
    unsetenv("PANLIFT_CONNECT_TO");
    simulator.reset();
  }

  // The service's radio box checked, its link typed, "解析" clicked.
  static void ResolveIn(MainWindowWidgets& window, int service, const std::string& link) {
    Click(window.radio[service]);
    TypeInto(window.link[service], link);
    Click(window.resolve);
  }

  static void FillDetails(MainWindowWidgets& window, const std::string& text) {
    for (QLineEdit* box : window.details) box->setText(QString::fromStdString(text));
  }

  static inline std::unique_ptr<testsupport::Simulator> simulator;
};

struct ServiceCase {
  int service;  // its radio box and link box
  const char* shareId;
  const char* extension;  // as described
  const char* size;       // as formatted
};

TEST_F(Resolve, ALinkOfEachServiceFillsTheFiveBoxesWithTheSharesValues) {
  const ServiceCase cases[] = {
      {0, "bTZ0X4GE", "Microsoft Office Word 2003文档   (doc)", "240KB"},  // 年度报告.doc, 245760 bytes
      {1, "9dRtz4Mb", "媒体视频文件   (mp4)", "2.861MB"},                 // 第二集.mp4 (listed last), 3000000
      {2, "QzTk8wPm2vN5c", "声音文件   (wma)", "4MB"},                     // 歌曲.wma, 5000000
  };
  for (const ServiceCase& c : cases) {
    const testsupport::SimulatedShare& share = simulator->Share(c.shareId);
    SCOPED_TRACE(share.link);
    auto window = FreshMainWindow();
    ASSERT_NE(window.resolve, nullptr);
    ResolveIn(window, c.service, share.link);
    std::array<std::string, 5> expected = {share.name, c.extension, c.size, share.md5, share.downloadAddress};
    EXPECT_EQ(DetailTexts(window), expected);
  }
}

TEST_F(Resolve, WithNoServiceCheckedTheClickChangesNothing) {
  auto window = FreshMainWindow();
  ASSERT_NE(window.resolve, nullptr);
  app::WriteIntProperty(app::MainWindow, app::units::单选框1, app::CheckedProperty, 0);
  for (QRadioButton* radio : window.radio) ASSERT_FALSE(radio->isChecked());
  for (int service = 0; service < 3; ++service) {
    TypeInto(window.link[service], simulator->Shares()[0].link);
  }
  FillDetails(window, "earlier");
  Click(window.resolve);
  EXPECT_EQ(DetailTexts(window), (std::array<std::string, 5>{"earlier", "earlier", "earlier", "earlier", "earlier"}));
}

TEST_F(Resolve, AnEmptyLinkIsResolvedAsItIs) {
  auto window = FreshMainWindow();
  ASSERT_NE(window.resolve, nullptr);
  FillDetails(window, "earlier");
  ResolveIn(window, 0, "");
  // Nothing could be fetched: every box is written with what the resolver found.
  EXPECT_EQ(DetailTexts(window), (std::array<std::string, 5>{"", "", "0B", "", ""}));
}

TEST_F(Resolve, A360PanFailureKeepsTheEarlierDetails) {
  struct FailureCase {
    const char* shareId;
    const char* addressHolds;  // null: whatever the service answered
  };
  const FailureCase cases[] = {
      {"QzMv2tLq5xC9e", ""},                                  // the file is gone: the box is cleared
      {"QzGn7rBk4wS6y", "今日下载次数已达上限，请明天再试"},  // another refusal: its whole answer
      {"QzHs3dFm8pU1t", nullptr},                             // no configuration on the page
  };
  const testsupport::SimulatedShare& good = simulator->Share("QzTk8wPm2vN5c");
  for (const FailureCase& c : cases) {
    const testsupport::SimulatedShare& failing = simulator->Share(c.shareId);
    SCOPED_TRACE(failing.link);
    auto window = FreshMainWindow();
    ASSERT_NE(window.resolve, nullptr);
    ResolveIn(window, 2, good.link);
    std::array<std::string, 5> earlier = DetailTexts(window);
    ASSERT_EQ(earlier[0], good.name);

    ResolveIn(window, 2, failing.link);
    std::array<std::string, 5> after = DetailTexts(window);
    for (int box = 0; box < 4; ++box) EXPECT_EQ(after[box], earlier[box]) << "detail box " << box;
    if (!c.addressHolds) continue;
    if (*c.addressHolds) {
      EXPECT_NE(after[4].find(c.addressHolds), std::string::npos) << after[4];
      EXPECT_EQ(after[4].front(), '{') << "the answer as the service sent it";
    } else {
      EXPECT_EQ(after[4], "");
    }
  }
}

}  // namespace
