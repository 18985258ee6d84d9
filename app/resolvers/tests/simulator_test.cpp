// A share of each service served by panlift-simulator, resolved as a user would resolve it:
// the values its catalogue holds for the share reach the boxes.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/base/main_window_units.h"
#include "app/base/runtime_calls.h"
#include "app/resolvers/resolvers.h"
#include "app/testing/program_test.h"
#include "share_server.h"
#include "testsupport/simulator.h"

namespace app::testing {
namespace {

class SimulatorTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { simulator_ = new testsupport::Simulator({.catalogue = "", .quiet = true}); }
  static void TearDownTestSuite() {
    delete simulator_;
    simulator_ = nullptr;
  }
  void SetUp() override { LoadMainWindow(); }
  void TearDown() override { CloseMainWindow(); }

  // The share resolved: the address must be the catalogue's, and the boxes are returned.
  DetailBoxes ResolveShare(runtime::Text (*resolver)(const runtime::Text&), const char* id) {
    const testsupport::SimulatedShare& share = simulator_->Share(id);
    ScopedEnvironment aim("PANLIFT_CONNECT_TO", simulator_->ConnectTo());
    runtime::Text link = NewText(share.link);
    EXPECT_EQ(TakeText(resolver(link)), share.downloadAddress);
    FreeBlock(link);
    DetailBoxes boxes{BoxText(units::文件名称编辑框), BoxText(units::文件扩展名编辑框),
                      BoxText(units::文件大小编辑框), BoxText(units::文件md5编辑框)};
    EXPECT_EQ(boxes.name, Gbk(share.name));
    EXPECT_EQ(boxes.md5, share.md5);
    return boxes;
  }

  static testsupport::Simulator* simulator_;
};

testsupport::Simulator* SimulatorTest::simulator_ = nullptr;

TEST_F(SimulatorTest, XunleiShareOfTwoFilesShowsTheArchive) {
  const DetailBoxes boxes = ResolveShare(ResolveXunleiLink, "Kp7mW2cN");
  EXPECT_EQ(Utf8(boxes.extension), "winrar压缩包文件   (zip)");
  EXPECT_EQ(boxes.size, "3MB");
}

TEST_F(SimulatorTest, BaiduShare) {
  const DetailBoxes boxes = ResolveShare(ResolveBaiduLink, "1kTQdrAe");
  EXPECT_EQ(boxes.extension, ".7z");
  EXPECT_EQ(boxes.size, "5MB");
}

TEST_F(SimulatorTest, Pan360ShareOverTwoGigabytes) {
  const DetailBoxes boxes = ResolveShare(Resolve360Link, "QzWp6fJd3kA8u");
  EXPECT_EQ(Utf8(boxes.extension), "光盘映像文件   (iso)");
  EXPECT_EQ(boxes.size, "4768MB");
}

}  // namespace
}  // namespace app::testing
