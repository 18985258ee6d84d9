// The process's one cookie store: libcurl's cookie engine behind a share handle, filled by
// responses and by InternetSetCookieA, consulted by every request that allows cookies.
//
// libcurl writes every cookie it sends as "name=value", but a cookie set without "=" goes
// back as its bare name. So the store composes the Cookie header itself (CookieHeaderFor)
// and remembers which of its cookies were set bare, by domain, path and name. libcurl's
// engine only reads and keeps cookies; it never sends them (see response_cookies.h).
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "win/types.h"

namespace wininet {

struct Cookie {
  std::string name, value;
  std::string domain;  // lower case, no leading dot
  bool hostOnly = true;  // false: the domain attribute also covers its subdomains
  std::string path;
  bool secure = false;
  bool httpOnly = false;
  std::time_t expires = 0;  // 0: a session cookie
  bool bare = false;        // set without "=": sent back as the name alone
};

// WinInet's reading of InternetSetCookieA's arguments: the value is data up to the first
// ";", the rest attributes (domain, path, expires, secure, httponly; others ignored). A null
// name splits data at its first "="; without one, data is the name and the value is empty.
// nullopt with *error: ERROR_INVALID_PARAMETER for control characters, an empty name or a
// domain that does not cover the host.
std::optional<Cookie> ParseCookie(std::string_view host, std::string_view urlPath, const char* name,
                                  std::string_view data, DWORD* error);

// A line of libcurl's (Netscape) cookie format.
std::string CookieLine(const Cookie& cookie);

void AddCookie(const Cookie& cookie);
// A cookie as libcurl's engine read it from a response, as a line of its format: never bare.
void AddCookieLine(const std::string& line);
// The value of the Cookie header a request to url carries ("a=1; flag"), empty for none:
// the matching cookies, longer paths first, otherwise in the store's order.
std::string CookieHeaderFor(std::string_view url);

}  // namespace wininet
