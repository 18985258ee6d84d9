#include "platform_choice.h"

namespace ui::detail {
namespace {

bool IsSet(const char* value) { return value && *value; }

}  // namespace

std::string_view ForcedPlatform(const char* qpaPlatform, const char* display,
                                const char* waylandDisplay) {
  if (IsSet(qpaPlatform)) return {};  // Qt honours the variable itself
  if (IsSet(display) || IsSet(waylandDisplay)) return {};
  return "offscreen";
}

bool IsHeadlessPlatform(std::string_view platformName) {
  // Qt tries the entries of a list in turn; the first one is what it normally runs on.
  std::string_view first = platformName.substr(0, platformName.find(';'));
  std::string_view name = first.substr(0, first.find(':'));
  return name == "offscreen" || name == "minimal";
}

}  // namespace ui::detail
