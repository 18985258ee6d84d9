// Which Qt platform the application object runs on, decided from the environment.
#pragma once

#include <string_view>

namespace ui::detail {

// The platform to force with "-platform", or empty to leave the choice to Qt: the
// offscreen platform when QT_QPA_PLATFORM names none and there is no display at all.
// Null and empty variables count as unset.
std::string_view ForcedPlatform(const char* qpaPlatform, const char* display,
                                const char* waylandDisplay);

// Whether a platform name (as QT_QPA_PLATFORM spells it: a list separated by ";", each
// entry with optional ":options") puts nothing on a screen.
bool IsHeadlessPlatform(std::string_view platformName);

}  // namespace ui::detail
