// The process's one cookie store: libcurl's cookie engine behind a share handle, filled by
// responses and by InternetSetCookieA, consulted by every request that allows cookies.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include <curl/curl.h>

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

// Lets the transfer's handle use the process's cookie store.
void UseCookieStore(CURL* easy);
void AddCookie(const Cookie& cookie);
// True when the store holds a cookie that a request to url would carry.
bool StoreHasCookiesFor(std::string_view url);

}  // namespace wininet
