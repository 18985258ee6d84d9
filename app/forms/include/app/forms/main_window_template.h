// MainWindow's window-template data block, made at build time from main_window.form.
#pragma once

#include <cstddef>

namespace app::forms {

inline constexpr unsigned kMainWindowId = 0x52010001;

extern const unsigned char kMainWindowTemplate[];
extern const std::size_t kMainWindowTemplateSize;

}  // namespace app::forms
