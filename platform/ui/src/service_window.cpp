// The service window as a QObject of the GUI thread. A message sent from another thread
// travels as a posted event that carries a shared reply slot; the sender sleeps on that
// slot until the GUI thread has run the procedure in its event pump. An event that is
// dropped undelivered (the window destroyed first) still wakes its sender, with 0.
#include "ui/service_window.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QThread>
#include <condition_variable>
#include <mutex>

#include "ui/application.h"

namespace ui {
namespace {

using SharedProcedure = std::shared_ptr<const ServiceWindow::Procedure>;

struct Reply {
  std::mutex mutex;
  std::condition_variable answered;
  bool done = false;
  LRESULT result = 0;

  void Answer(LRESULT value) {
    {
      std::lock_guard lock(mutex);
      if (done) return;
      done = true;
      result = value;
    }
    answered.notify_all();
  }

  LRESULT Wait() {
    std::unique_lock lock(mutex);
    answered.wait(lock, [this] { return done; });
    return result;
  }
};

QEvent::Type SentMessageEvent() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

class SentMessage : public QEvent {
 public:
  SentMessage(UINT message, WPARAM wParam, LPARAM lParam, std::shared_ptr<Reply> reply)
      : QEvent(SentMessageEvent()), message(message), wParam(wParam), lParam(lParam),
        reply(std::move(reply)) {}
  ~SentMessage() override { reply->Answer(0); }  // no effect once answered

  const UINT message;
  const WPARAM wParam;
  const LPARAM lParam;
  const std::shared_ptr<Reply> reply;
};

// The object that lives on the GUI thread and receives the sent messages.
class Receiver : public QObject {
 public:
  explicit Receiver(SharedProcedure procedure) : procedure_(std::move(procedure)) {}

  SharedProcedure Procedure() const {
    std::lock_guard lock(mutex_);
    return procedure_;
  }
  // After this, messages still on their way are answered with 0.
  void Detach() {
    std::lock_guard lock(mutex_);
    procedure_.reset();
  }
  bool Dispatching() const { return dispatching_ > 0; }

  bool event(QEvent* event) override {
    if (event->type() != SentMessageEvent()) return QObject::event(event);
    auto* sent = static_cast<SentMessage*>(event);
    // The local copy keeps the procedure alive even if it destroys its own window.
    SharedProcedure procedure = Procedure();
    ++dispatching_;
    LRESULT result = procedure ? (*procedure)(sent->message, sent->wParam, sent->lParam) : 0;
    --dispatching_;
    sent->reply->Answer(result);
    return true;
  }

 private:
  mutable std::mutex mutex_;
  SharedProcedure procedure_;
  int dispatching_ = 0;  // touched on the receiver's own thread only
};

}  // namespace

struct ServiceWindow::Impl {
  Receiver* receiver = nullptr;
};

ServiceWindow::ServiceWindow(Procedure procedure) : impl_(std::make_unique<Impl>()) {
  EnsureApplication();
  impl_->receiver = new Receiver(std::make_shared<const Procedure>(std::move(procedure)));
}

ServiceWindow::~ServiceWindow() {
  Receiver* receiver = impl_->receiver;
  const bool ownThread = QThread::currentThread() == receiver->thread();
  if (ownThread && !receiver->Dispatching()) {
    delete receiver;  // drops, and so answers, the messages still waiting for it
    return;
  }
  // Destroyed from inside its own procedure, or from another thread: the receiver must
  // outlive the code running in it, so it goes when its thread next pumps.
  receiver->Detach();
  receiver->deleteLater();
}

LRESULT ServiceWindow::Send(UINT message, WPARAM wParam, LPARAM lParam) {
  Receiver* receiver = impl_->receiver;
  if (QThread::currentThread() == receiver->thread()) {
    SharedProcedure procedure = receiver->Procedure();
    return procedure ? (*procedure)(message, wParam, lParam) : 0;
  }
  auto reply = std::make_shared<Reply>();
  QCoreApplication::postEvent(receiver, new SentMessage(message, wParam, lParam, reply));
  return reply->Wait();
}

}  // namespace ui
