// The one application object of the process. It is never destroyed: the process may end
// from inside one of its event handlers (an exit from a handler), where tearing it down
// would pull the ground from under the running handler.
#include <QApplication>
#include <QThread>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <string>

#include "application_internal.h"
#include "platform_choice.h"
#include "ui/application.h"

namespace ui {
namespace {

std::atomic<QApplication*> application{nullptr};

// QApplication keeps references to argc and argv for its whole life, so they live here.
struct Arguments {
  int argc = 0;
  char* argv[4] = {};
  std::string program = "panlift";
  std::string platformSwitch = "-platform";
  std::string platform;
};

Arguments& StoredArguments() {
  static Arguments* arguments = new Arguments;
  return *arguments;
}

}  // namespace

namespace detail {

QApplication* Application() { return application.load(std::memory_order_acquire); }

bool OnGuiThread() {
  QApplication* app = Application();
  return app && QThread::currentThread() == app->thread();
}

}  // namespace detail

void EnsureApplication() {
  static std::mutex creation;
  std::lock_guard lock(creation);
  if (application.load(std::memory_order_relaxed)) return;

  Arguments& arguments = StoredArguments();
  arguments.argv[arguments.argc++] = arguments.program.data();
  std::string_view forced = detail::ForcedPlatform(
      std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
  if (!forced.empty()) {
    arguments.platform = forced;
    arguments.argv[arguments.argc++] = arguments.platformSwitch.data();
    arguments.argv[arguments.argc++] = arguments.platform.data();
  }
  application.store(new QApplication(arguments.argc, arguments.argv), std::memory_order_release);
}

bool HasApplication() { return detail::Application() != nullptr; }

bool IsHeadless() {
  if (HasApplication()) {
    return detail::IsHeadlessPlatform(QGuiApplication::platformName().toStdString());
  }
  const char* qpa = std::getenv("QT_QPA_PLATFORM");
  if (qpa && *qpa) return detail::IsHeadlessPlatform(qpa);
  return !detail::ForcedPlatform(qpa, std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY")).empty();
}

}  // namespace ui
