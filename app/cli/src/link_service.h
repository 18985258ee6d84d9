// The hosts the three services' links live on.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/services/services.h"

namespace cli {

using services::Service;
using services::ServiceFromName;
using services::ServiceName;
using services::kServices;

// The host of a link ("http://HOST:port/..."; the scheme may be left off), lower case,
// without a trailing dot; empty when there is none.
std::string LinkHost(std::string_view link);
// The service whose links live on the link's host; none for any other host.
std::optional<Service> ServiceOfLink(std::string_view link);

}  // namespace cli
