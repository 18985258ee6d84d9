// Where the catalogue is when --catalogue names none.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace share_simulator {

// In this order: ../share/panlift/catalogue.json beside the executable (an installed copy),
// then the catalogue.json of the source tree it was built from.
std::vector<std::string> DefaultCatalogueCandidates();

std::optional<std::string> FindDefaultCatalogue();

}  // namespace share_simulator
