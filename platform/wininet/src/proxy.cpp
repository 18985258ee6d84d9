#include "proxy.h"

#include <cstdlib>
#include <vector>

#include "text.h"
#include "wininet/wininet.h"

namespace wininet {
namespace {

std::vector<std::string_view> Entries(std::string_view list) {
  std::vector<std::string_view> entries;
  while (!list.empty()) {
    std::size_t end = list.find_first_of(" ;");
    if (end != 0) entries.push_back(list.substr(0, end));
    if (end == std::string_view::npos) break;
    list.remove_prefix(end + 1);
  }
  return entries;
}

// Glob match with "*" only, without regard to case.
bool Matches(std::string_view pattern, std::string_view text) {
  if (pattern.empty()) return text.empty();
  if (pattern[0] == '*') {
    for (std::size_t i = 0; i <= text.size(); ++i) {
      if (Matches(pattern.substr(1), text.substr(i))) return true;
    }
    return false;
  }
  return !text.empty() && EqualsIgnoreCase(pattern.substr(0, 1), text.substr(0, 1)) &&
         Matches(pattern.substr(1), text.substr(1));
}

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The entry of a WinInet proxy list that serves the scheme: "scheme=host:port" first, then
// an entry without a scheme. Returned as a libcurl proxy URL, "" when none serves it.
std::string ProxyForScheme(std::string_view list, std::string_view scheme) {
  std::string_view general;
  for (std::string_view entry : Entries(list)) {
    std::size_t equals = entry.find('=');
    if (equals == std::string_view::npos) {
      if (general.empty()) general = entry;
    } else if (EqualsIgnoreCase(entry.substr(0, equals), scheme)) {
      general = entry.substr(equals + 1);
      break;
    }
  }
  if (general.empty()) return "";
  if (StartsWithIgnoreCase(general, "http://")) general.remove_prefix(7);
  std::string proxy = "http://" + std::string(general);
  // A proxy without a port listens on 80, as WinInet assumes.
  std::size_t bracket = proxy.rfind(']');
  std::size_t colon = proxy.find(':', bracket == std::string::npos ? 7 : bracket);
  if (colon == std::string::npos) proxy += ":80";
  return proxy;
}

}  // namespace

ProxyEnvironment ProxyEnvironment::FromProcess() {
  ProxyEnvironment e;
  e.http = Variable("http_proxy");  // lower case only, as libcurl and most tools read it
  e.https = Variable("https_proxy");
  if (e.https.empty()) e.https = Variable("HTTPS_PROXY");
  e.all = Variable("all_proxy");
  if (e.all.empty()) e.all = Variable("ALL_PROXY");
  e.noProxy = Variable("no_proxy");
  if (e.noProxy.empty()) e.noProxy = Variable("NO_PROXY");
  return e;
}

bool Bypassed(std::string_view bypassList, std::string_view host) {
  for (std::string_view entry : Entries(bypassList)) {
    if (EqualsIgnoreCase(entry, "<local>")) {
      if (host.find('.') == std::string_view::npos) return true;
    } else if (Matches(entry, host)) {
      return true;
    }
  }
  return false;
}

ProxyRoute RouteFor(const ProxySetting& setting, bool https, std::string_view host, const ProxyEnvironment& environment) {
  switch (setting.accessType) {
    case INTERNET_OPEN_TYPE_PROXY:
      if (Bypassed(setting.bypassList, host)) return {};
      return {ProxyForScheme(setting.proxyList, https ? "https" : "http"), ""};
    case INTERNET_OPEN_TYPE_PRECONFIG:
    case INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY: {
      std::string proxy = https ? environment.https : environment.http;
      if (proxy.empty()) proxy = environment.all;
      if (proxy.empty()) return {};
      return {proxy, environment.noProxy};
    }
    default: return {};
  }
}

}  // namespace wininet
