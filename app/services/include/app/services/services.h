// The three services and the names they go by on the command line and in the simulator's
// catalogue.
#pragma once

#include <optional>
#include <string_view>

namespace services {

enum class Service { Xunlei, Baidu, Yunpan360 };

inline constexpr Service kServices[] = {Service::Xunlei, Service::Baidu, Service::Yunpan360};

// "xunlei", "baidu", "360".
constexpr std::string_view ServiceName(Service service) {
  switch (service) {
    case Service::Xunlei: return "xunlei";
    case Service::Baidu: return "baidu";
    case Service::Yunpan360: return "360";
  }
  return "";
}

constexpr std::optional<Service> ServiceFromName(std::string_view name) {
  for (Service s : kServices) {
    if (ServiceName(s) == name) return s;
  }
  return std::nullopt;
}

}  // namespace services
