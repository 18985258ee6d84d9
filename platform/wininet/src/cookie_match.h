// Whether a stored cookie goes with a request: libcurl's rules, by which the store composes
// the Cookie header the request carries.
#pragma once

#include <ctime>
#include <string_view>

namespace wininet {

struct CookieTarget {
  std::string_view host;
  std::string_view path;  // without the query
  bool https = false;
};

// line: one cookie in libcurl's (Netscape) format, as the store lists it.
bool CookieMatches(std::string_view line, const CookieTarget& target, std::time_t now);

}  // namespace wininet
