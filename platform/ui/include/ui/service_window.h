// A hidden window of the GUI thread that takes messages synchronously from any thread,
// as SendMessage to a window of another thread does: the sender waits until the GUI
// thread has handled the message in its event pump.
#pragma once

#include <functional>
#include <memory>

#include "win/types.h"

namespace ui {

class ServiceWindow {
 public:
  using Procedure = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

  // Create on the GUI thread, after EnsureApplication.
  explicit ServiceWindow(Procedure procedure);
  ~ServiceWindow();
  ServiceWindow(const ServiceWindow&) = delete;
  ServiceWindow& operator=(const ServiceWindow&) = delete;

  // On the GUI thread: calls the procedure directly. On another thread: hands the message
  // to the GUI thread and waits for its answer.
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace ui
