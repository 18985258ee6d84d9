// The application object and the choice of the platform it runs on.
#include "ui/application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QThread>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "platform_choice.h"

namespace {

struct PlatformCase {
  const char* qpaPlatform;
  const char* display;
  const char* waylandDisplay;
  std::string_view forced;
};

TEST(PlatformChoice, OffscreenOnlyWithoutAnyDisplayOrRequest) {
  const PlatformCase cases[] = {
      {nullptr, nullptr, nullptr, "offscreen"},
      {"", "", "", "offscreen"},           // empty variables count as unset
      {nullptr, ":0", nullptr, ""},        // Qt picks the display's platform
      {nullptr, nullptr, "wayland-0", ""},
      {"xcb", nullptr, nullptr, ""},       // an explicit request is Qt's to honour
      {"offscreen", ":0", nullptr, ""},
  };
  for (const PlatformCase& c : cases) {
    EXPECT_EQ(ui::detail::ForcedPlatform(c.qpaPlatform, c.display, c.waylandDisplay), c.forced)
        << (c.qpaPlatform ? c.qpaPlatform : "(null)") << " / " << (c.display ? c.display : "(null)")
        << " / " << (c.waylandDisplay ? c.waylandDisplay : "(null)");
  }
}

TEST(PlatformChoice, HeadlessPlatformNames) {
  const std::pair<std::string_view, bool> cases[] = {
      {"offscreen", true},         {"minimal", true},
      {"offscreen:fontengine=freetype", true},
      {"minimal;xcb", true},       {"xcb", false},
      {"wayland", false},          {"xcb;offscreen", false},  // xcb comes first
      {"vnc", false},              {"", false},
  };
  for (const auto& [name, headless] : cases) {
    EXPECT_EQ(ui::detail::IsHeadlessPlatform(name), headless) << name;
  }
}

TEST(Application, IsCreatedOnceOnTheTestThreadAndRunsHeadless) {
  ASSERT_TRUE(ui::HasApplication());
  QCoreApplication* first = QCoreApplication::instance();
  ui::EnsureApplication();
  EXPECT_EQ(QCoreApplication::instance(), first);
  EXPECT_EQ(first->thread(), QThread::currentThread());
  EXPECT_EQ(QGuiApplication::platformName(), "offscreen");
  EXPECT_TRUE(ui::IsHeadless());
}

TEST(Application, EnsuringItFromAnotherThreadChangesNothing) {
  QCoreApplication* first = QCoreApplication::instance();
  std::thread other([] { ui::EnsureApplication(); });
  other.join();
  EXPECT_EQ(QCoreApplication::instance(), first);
  EXPECT_EQ(first->thread(), QThread::currentThread());
}

// The arguments the application keeps must still be there after start-up.
TEST(Application, KeepsItsArguments) {
  QStringList arguments = QCoreApplication::arguments();
  ASSERT_FALSE(arguments.isEmpty());
  EXPECT_EQ(arguments.front(), "panlift");
}

}  // namespace

namespace {

// Restores an environment variable when the test ends.
class SavedVariable {
 public:
  explicit SavedVariable(const char* name) : name_(name) {
    if (const char* value = std::getenv(name)) value_ = value;
    unsetenv(name);
  }
  ~SavedVariable() {
    if (value_) setenv(name_, value_->c_str(), 1);
  }

 private:
  const char* name_;
  std::optional<std::string> value_;
};

// The death test's child is a new run of this binary, whose main creates the application
// object from the environment set up here.
TEST(ApplicationDeathTest, WithoutADisplayItRunsOnTheOffscreenPlatform) {
  SavedVariable qpa("QT_QPA_PLATFORM"), display("DISPLAY"), wayland("WAYLAND_DISPLAY");
  EXPECT_EXIT(std::exit(QGuiApplication::platformName() == "offscreen" && ui::IsHeadless() ? 0 : 1),
              ::testing::ExitedWithCode(0), "");
}

}  // namespace
