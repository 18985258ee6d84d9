// What the pieces of the ui library share about the application object.
#pragma once

class QApplication;

namespace ui::detail {

// The application object, or null before EnsureApplication.
QApplication* Application();
// Whether the calling thread is the application object's thread.
bool OnGuiThread();

}  // namespace ui::detail
