// How live windows end: closed by the user, made afresh by a new load, or all at exit.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "runtime/windows/window_table.h"
#include "unit.h"

namespace runtime {

struct LiveWindow {
  QWidget* form = nullptr;                   // the top-level widget; the controls are its children
  std::vector<std::unique_ptr<Unit>> units;  // by slot; null for units without a live widget
  ~LiveWindow();                             // the widgets go first, then the units
};

// The window's close by the user. While a handler runs the window is only hidden (its
// units keep answering), the quit is asked for when it was the last window, and it is
// destroyed when the outermost handler returns; otherwise it goes at once.
void RequestClose(WindowEntry& window);
// After the outermost handler: the windows closed meanwhile go.
void CompletePendingCloses();
// The widgets of windows that have gone are deleted here, from the message loop's idle
// step, where no event handler of theirs can be running.
void ReapClosedWindows();
// The window's units forget their widgets and it leaves the table's live windows.
void Detach(WindowEntry& window, bool quitWhenLast);

}  // namespace runtime
