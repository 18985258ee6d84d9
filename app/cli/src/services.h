// The three services, their names on the command line and the hosts their links live on.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cli {

enum class Service { Xunlei, Baidu, Yunpan360 };

// "xunlei", "baidu", "360".
std::string_view ServiceName(Service service);
std::optional<Service> ServiceFromName(std::string_view name);

// The host of a link ("http://HOST:port/..."; the scheme may be left off), lower case,
// without a trailing dot; empty when there is none.
std::string LinkHost(std::string_view link);
// The service whose links live on the link's host; none for any other host.
std::optional<Service> ServiceOfLink(std::string_view link);

}  // namespace cli
