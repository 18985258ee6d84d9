// Which proxy a request goes through: WinInet's access types and proxy lists, and the
// preconfigured proxy, which is the environment's (http_proxy, https_proxy, no_proxy).
#pragma once

#include <string>
#include <string_view>

#include "win/types.h"

namespace wininet {

struct ProxySetting {
  DWORD accessType = 1;  // INTERNET_OPEN_TYPE_DIRECT
  std::string proxyList;
  std::string bypassList;
};

struct ProxyEnvironment {
  std::string http, https, all, noProxy;
  static ProxyEnvironment FromProcess();
};

// For libcurl: proxy "" means a direct connection; noProxy uses libcurl's syntax.
struct ProxyRoute {
  std::string proxy;
  std::string noProxy;
};

ProxyRoute RouteFor(const ProxySetting& setting, bool https, std::string_view host, const ProxyEnvironment& environment);

// True when host matches an entry of a WinInet bypass list ("*" wildcards, "<local>").
bool Bypassed(std::string_view bypassList, std::string_view host);

}  // namespace wininet
