#include "cookie_match.h"

#include <arpa/inet.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "text.h"

namespace wininet {
namespace {

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    std::size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

bool IsAddress(std::string_view host) {
  if (host.size() > 1 && host.front() == '[') host = host.substr(1, host.size() - 2);
  std::string text(host);
  unsigned char address[16];
  return inet_pton(AF_INET, text.c_str(), address) == 1 || inet_pton(AF_INET6, text.c_str(), address) == 1;
}

bool IsLocal(std::string_view host) {
  return EqualsIgnoreCase(host, "localhost") || host == "127.0.0.1" || host == "[::1]" || host == "::1";
}

bool DomainMatches(std::string_view domain, bool tailMatch, std::string_view host) {
  if (EqualsIgnoreCase(domain, host)) return true;
  return tailMatch && !IsAddress(host) && host.size() > domain.size() &&
         host[host.size() - domain.size() - 1] == '.' && EqualsIgnoreCase(host.substr(host.size() - domain.size()), domain);
}

// The cookie's path is the request path, or a prefix of it that ends at a "/"; a trailing
// "/" of the cookie's path does not count.
bool PathMatches(std::string_view cookiePath, std::string_view path) {
  if (cookiePath.empty() || cookiePath[0] != '/') cookiePath = "/";
  if (cookiePath.size() > 1 && cookiePath.back() == '/') cookiePath.remove_suffix(1);
  if (cookiePath.size() == 1) return true;
  if (path.substr(0, cookiePath.size()) != cookiePath) return false;
  return path.size() == cookiePath.size() || path[cookiePath.size()] == '/';
}

}  // namespace

bool CookieMatches(std::string_view line, const CookieTarget& target, std::time_t now) {
  constexpr std::string_view kHttpOnly = "#HttpOnly_";
  if (line.substr(0, kHttpOnly.size()) == kHttpOnly) line.remove_prefix(kHttpOnly.size());
  std::vector<std::string_view> f = Fields(line);
  if (f.size() < 7) return false;
  std::string_view domain = f[0];
  if (!domain.empty() && domain[0] == '.') domain.remove_prefix(1);
  const bool tailMatch = f[1] == "TRUE";
  const bool secure = f[3] == "TRUE";
  const long long expires = std::atoll(std::string(f[4]).c_str());
  if (expires != 0 && expires <= static_cast<long long>(now)) return false;
  if (secure && !target.https && !IsLocal(target.host)) return false;
  return DomainMatches(domain, tailMatch, target.host) && PathMatches(f[2], target.path);
}

}  // namespace wininet
