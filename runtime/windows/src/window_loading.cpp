// LoadStartupWindow: a live window made from its template, then its creation events.
#include <functional>

#include "runtime/messages.h"
#include "runtime/frame.h"
#include "runtime/windows/window_layer.h"
#include "ui/application.h"
#include "units.h"
#include "window_lifetime.h"

namespace runtime {
namespace {

constexpr std::int32_t kCreated = 0, kAfterCreation3 = 3, kAfterCreation4 = 4;

// Creates every unit, each after its parent; false when the template cannot make a window.
bool CreateUnits(WindowEntry& window, LiveWindow& live) {
  const std::size_t count = window.units.size();
  if (count == 0 || !window.units[0].type || window.units[0].type->typeWord != unit_type::Window) return false;
  live.units.resize(count);
  std::vector<int> state(count, 0);  // 0 not yet, 1 being made, 2 made

  std::function<bool(std::size_t)> make = [&](std::size_t i) -> bool {
    if (state[i] == 2) return true;
    if (state[i] == 1) return false;  // a unit that contains itself
    state[i] = 1;
    UnitSlot& slot = window.units[i];
    QWidget* parent = nullptr;
    if (i > 0) {
      parent = live.form;
      if (slot.record.parentId != 0) {
        auto found = std::find_if(window.units.begin(), window.units.end(),
                                  [&](const UnitSlot& s) { return s.record.id == slot.record.parentId; });
        if (found == window.units.end()) return false;
        std::size_t p = static_cast<std::size_t>(found - window.units.begin());
        if (p == 0) {
          parent = live.form;
        } else {
          if (!make(p) || !live.units[p]) return false;
          parent = live.units[p]->Widget();
        }
      }
    }
    std::unique_ptr<Unit> unit = MakeUnit(window, slot);
    if (!unit) return false;
    unit->Create(parent);
    if (i == 0) live.form = unit->Widget();
    live.units[i] = std::move(unit);
    state[i] = 2;
    return true;
  };

  for (std::size_t i = 0; i < count; ++i) {
    if (window.units[i].record.IsShort()) {
      state[i] = 2;  // no widget of its own
      continue;
    }
    if (!make(i)) return false;
  }
  return true;
}

bool StillThere(const WindowEntry& window) { return window.live && !window.closing; }

}  // namespace

void LoadStartupWindow(std::uint32_t windowId) {
  WindowEntry* window = FindWindow(windowId);
  if (!window) RaiseRuntimeError(messages::kStartupWindowFailed);
  if (StillThere(*window)) {
    QWidget* form = window->live->form;
    if (form->isMinimized()) {
      form->showNormal();
    } else {
      form->raise();
      form->activateWindow();
    }
    return;
  }
  // A window that is being closed is made afresh. Only a handler can meet one (the close
  // completes when the outermost handler returns), so any quit pending now was posted by
  // such a close: with the window back it would end the program under it.
  if (window->live) {
    Detach(*window, false);
    ui::ResetQuit();
  }

  auto live = std::make_unique<LiveWindow>();
  if (!CreateUnits(*window, *live)) RaiseRuntimeError(messages::kStartupWindowFailed);
  for (std::size_t i = 0; i < window->units.size(); ++i) window->units[i].live = live->units[i].get();
  window->live = live.release();

  QWidget* form = window->live->form;
  if (window->units[0].record.Visible()) form->show();
  Unit& own = *window->live->units[0];
  for (std::int32_t event : {kCreated, kAfterCreation3, kAfterCreation4}) {
    if (StillThere(*window)) own.Raise(event);
  }
}

}  // namespace runtime
