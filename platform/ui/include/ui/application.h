// The application object and the event pump, over Qt Widgets.
//
// The application runs on Qt's offscreen platform when there is no display (neither
// DISPLAY nor WAYLAND_DISPLAY is set) or when QT_QPA_PLATFORM asks for it, so everything
// above works headless.
#pragma once

namespace ui {

// Creates the application object on first use (on the calling thread, which becomes the
// GUI thread); later calls do nothing.
void EnsureApplication();
bool HasApplication();
// True when no window system shows anything (offscreen or minimal platform, or no
// application object yet and no display).
bool IsHeadless();

// Handles the events that are waiting now, without waiting for more; returns whether
// anything was handled. Deferred deletions are carried out too.
bool HandleWaitingEvents();
// Blocks until an event arrives (or a quit is requested), then handles what waits.
void WaitAndHandleEvents();

// A quit request, as WM_QUIT: once posted it stays set until ResetQuit, and every pump
// above stops at it.
void PostQuitMessage(int exitCode);
bool QuitRequested();
int QuitExitCode();
void ResetQuit();

}  // namespace ui
