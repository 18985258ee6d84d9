#include "connect_to.h"

#include <cstdlib>

#include "text.h"

namespace wininet {
namespace {
// "host:port" stays; "host" becomes "host:" (any port, or the same port).
std::string WithPortField(std::string_view side) {
  std::size_t bracket = side.rfind(']');
  std::size_t colon = side.find(':', bracket == std::string_view::npos ? 0 : bracket);
  return colon == std::string_view::npos ? std::string(side) + ":" : std::string(side);
}
}  // namespace

std::vector<std::string> ParseConnectTo(std::string_view map) {
  std::vector<std::string> entries;
  while (!map.empty()) {
    std::size_t comma = map.find(',');
    std::string_view entry = Trim(map.substr(0, comma));
    map = comma == std::string_view::npos ? std::string_view{} : map.substr(comma + 1);
    std::size_t equals = entry.find('=');
    if (equals == std::string_view::npos) continue;
    std::string_view from = Trim(entry.substr(0, equals));
    std::string_view to = Trim(entry.substr(equals + 1));
    if (from.empty() || to.empty()) continue;
    entries.push_back(WithPortField(from) + ":" + WithPortField(to));
  }
  return entries;
}

bool IsAimed(const std::vector<std::string>& entries, std::string_view host, unsigned port) {
  if (host.size() > 1 && host.front() == '[') host = host.substr(1, host.size() - 2);
  for (std::string_view entry : entries) {
    std::string_view from;
    if (!entry.empty() && entry[0] == '[') {
      std::size_t close = entry.find(']');
      if (close == std::string_view::npos) continue;
      from = entry.substr(1, close - 1);
      entry.remove_prefix(close + 1);
    } else {
      from = entry.substr(0, entry.find(':'));
      entry.remove_prefix(from.size());
    }
    if (entry.empty() || entry[0] != ':' || !EqualsIgnoreCase(from, host)) continue;
    entry.remove_prefix(1);
    std::string_view fromPort = entry.substr(0, entry.find(':'));
    if (fromPort.empty() || fromPort == std::to_string(port)) return true;  // no port: any port
  }
  return false;
}

std::vector<std::string> ConnectToFromEnvironment() {
  const char* map = std::getenv("PANLIFT_CONNECT_TO");
  return map ? ParseConnectTo(map) : std::vector<std::string>{};
}

}  // namespace wininet
