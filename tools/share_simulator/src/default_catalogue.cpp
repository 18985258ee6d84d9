#include "default_catalogue.h"

#include <filesystem>
#include <system_error>

namespace share_simulator {

std::vector<std::string> DefaultCatalogueCandidates() {
  std::vector<std::string> candidates;
  std::error_code error;
  std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    candidates.push_back((executable.parent_path() / ".." / "share" / "panlift" / "catalogue.json").lexically_normal());
  }
  candidates.push_back(SIMULATOR_SOURCE_CATALOGUE);
  return candidates;
}

std::optional<std::string> FindDefaultCatalogue() {
  for (const std::string& candidate : DefaultCatalogueCandidates()) {
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error)) return candidate;
  }
  return std::nullopt;
}

}  // namespace share_simulator
