// The event pump over Qt's event dispatcher, and the quit request that stops it.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <atomic>

#include "application_internal.h"
#include "ui/application.h"

namespace ui {
namespace {

std::atomic<bool> quitRequested{false};
std::atomic<int> quitExitCode{0};

// Posted with a quit request so that a pump blocked in WaitAndHandleEvents wakes up;
// nothing handles it. A posted event cannot be lost, whenever the pump starts to wait.
QEvent::Type QuitWakeEvent() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

// Deletions asked for with deleteLater() are not carried out by the dispatcher outside a
// running QEventLoop; the pump does them itself.
void CarryOutDeferredDeletions() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

bool HandleWaitingEvents() {
  if (quitRequested.load() || !HasApplication()) return false;
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  if (!dispatcher) return false;
  bool handled = dispatcher->processEvents(QEventLoop::AllEvents);
  CarryOutDeferredDeletions();
  return handled;
}

void WaitAndHandleEvents() {
  if (quitRequested.load() || !HasApplication()) return;
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  if (!dispatcher) return;
  dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  CarryOutDeferredDeletions();
}

void PostQuitMessage(int exitCode) {
  quitExitCode.store(exitCode);
  quitRequested.store(true);
  if (QApplication* app = detail::Application()) {
    QCoreApplication::postEvent(app, new QEvent(QuitWakeEvent()));
  }
}

bool QuitRequested() { return quitRequested.load(); }

int QuitExitCode() { return quitRequested.load() ? quitExitCode.load() : 0; }

void ResetQuit() {
  quitRequested.store(false);
  quitExitCode.store(0);
}

}  // namespace ui
