// Closing and destroying live windows without pulling a widget from under a running handler.
#include "window_lifetime.h"

#include "runtime/windows/window_layer.h"
#include "ui/application.h"

namespace runtime {
namespace {

// Windows that have gone, whose widgets wait for the idle step.
std::vector<std::unique_ptr<LiveWindow>>& Closed() {
  static auto* closed = new std::vector<std::unique_ptr<LiveWindow>>;
  return *closed;
}

bool AnyOtherWindowStays(const WindowEntry& except) {
  for (const auto& window : WindowTable()) {
    if (window.get() != &except && window->live && !window->closing) return true;
  }
  return false;
}

}  // namespace

LiveWindow::~LiveWindow() {
  for (auto& unit : units) {
    if (unit) unit->Detach();
  }
  delete form;
  units.clear();
}

void Detach(WindowEntry& window, bool quitWhenLast) {
  if (!window.live) return;
  for (UnitSlot& slot : window.units) slot.live = nullptr;
  for (auto& unit : window.live->units) {
    if (unit) unit->Detach();
  }
  window.live->form->hide();
  Closed().emplace_back(window.live);
  window.live = nullptr;
  window.closing = false;
  // The start-up window's end is the program's: the message loop stops.
  if (quitWhenLast && !AnyWindowLive()) ui::PostQuitMessage(0);
}

void RequestClose(WindowEntry& window) {
  if (!window.live || window.closing) return;
  if (HandlerDepth() == 0) {
    Detach(window, true);
    return;
  }
  window.closing = true;
  window.live->form->hide();
  // Stop the pumping of the running handler; the loop ends once it has returned.
  if (!AnyOtherWindowStays(window)) ui::PostQuitMessage(0);
}

void CompletePendingCloses() {
  for (const auto& window : WindowTable()) {
    if (window->closing) Detach(*window, true);
  }
}

void ReapClosedWindows() { Closed().clear(); }

void DestroyAllWindows() {
  for (const auto& window : WindowTable()) Detach(*window, false);
  ReapClosedWindows();
}

bool AnyWindowLive() {
  for (const auto& window : WindowTable()) {
    if (window->live) return true;
  }
  return false;
}

bool WindowHandleExists(void* handle) {
  if (!handle) return false;
  for (const auto& window : WindowTable()) {
    if (!window->live) continue;
    for (const auto& unit : window->live->units) {
      if (unit && unit->Widget() == handle) return true;
    }
  }
  return false;
}

}  // namespace runtime
