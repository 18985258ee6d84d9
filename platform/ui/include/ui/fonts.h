// The application's font for pictures that must look the same on every machine.
#pragma once

namespace ui {

// Makes a CJK face the application's font (the one the machine set-up installs first), so
// that Chinese captions are drawn and not shown as boxes; false when none is installed.
bool UseCjkFont();

}  // namespace ui
