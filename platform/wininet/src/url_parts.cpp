#include "url_parts.h"

#include <cctype>

#include "text.h"

namespace wininet {
namespace {

struct SchemeName {
  const char* name;
  INTERNET_SCHEME number;
};
constexpr SchemeName kSchemes[] = {
    {"ftp", INTERNET_SCHEME_FTP},       {"gopher", INTERNET_SCHEME_GOPHER}, {"http", INTERNET_SCHEME_HTTP},
    {"https", INTERNET_SCHEME_HTTPS},   {"file", INTERNET_SCHEME_FILE},     {"news", INTERNET_SCHEME_NEWS},
    {"mailto", INTERNET_SCHEME_MAILTO}, {"socks", INTERNET_SCHEME_SOCKS},   {"javascript", INTERNET_SCHEME_JAVASCRIPT},
    {"vbscript", INTERNET_SCHEME_VBSCRIPT}, {"res", INTERNET_SCHEME_RES},
};

INTERNET_SCHEME SchemeNumber(std::string_view name) {
  for (const SchemeName& s : kSchemes) {
    if (EqualsIgnoreCase(name, s.name)) return s.number;
  }
  return INTERNET_SCHEME_UNKNOWN;
}

UrlPart Part(std::size_t begin, std::size_t end) { return {true, begin, end - begin}; }

}  // namespace

INTERNET_PORT DefaultPort(INTERNET_SCHEME scheme) {
  switch (scheme) {
    case INTERNET_SCHEME_HTTP: return INTERNET_DEFAULT_HTTP_PORT;
    case INTERNET_SCHEME_HTTPS: return INTERNET_DEFAULT_HTTPS_PORT;
    case INTERNET_SCHEME_FTP: return 21;
    case INTERNET_SCHEME_GOPHER: return 70;
    default: return 0;
  }
}

std::optional<UrlParts> SplitUrl(std::string_view url, DWORD* error) {
  UrlParts parts;
  std::size_t colon = 0;
  while (colon < url.size() && (std::isalnum(static_cast<unsigned char>(url[colon])) || url[colon] == '+' ||
                                url[colon] == '-' || url[colon] == '.')) {
    ++colon;
  }
  if (colon == 0 || colon >= url.size() || url[colon] != ':' || !std::isalpha(static_cast<unsigned char>(url[0]))) {
    *error = ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    return std::nullopt;
  }
  parts.scheme = Part(0, colon);
  parts.schemeNumber = SchemeNumber(url.substr(0, colon));
  parts.port = DefaultPort(parts.schemeNumber);

  std::size_t pos = colon + 1;
  if (url.substr(pos, 2) == "//") {
    pos += 2;
    std::size_t authorityEnd = url.find_first_of("/?#", pos);
    if (authorityEnd == std::string_view::npos) authorityEnd = url.size();
    std::size_t at = url.rfind('@', authorityEnd - 1);
    if (at != std::string_view::npos && at >= pos) {
      std::size_t split = url.find(':', pos);
      if (split != std::string_view::npos && split < at) {
        parts.userName = Part(pos, split);
        parts.password = Part(split + 1, at);
      } else {
        parts.userName = Part(pos, at);
      }
      pos = at + 1;
    }
    std::size_t hostEnd = authorityEnd;
    if (pos < authorityEnd && url[pos] == '[') {  // an IPv6 literal, reported without brackets
      std::size_t close = url.find(']', pos);
      if (close == std::string_view::npos || close > authorityEnd) {
        *error = ERROR_INTERNET_INVALID_URL;
        return std::nullopt;
      }
      parts.host = Part(pos + 1, close);
      hostEnd = close + 1;
      if (hostEnd < authorityEnd && url[hostEnd] != ':') {
        *error = ERROR_INTERNET_INVALID_URL;
        return std::nullopt;
      }
    } else {
      std::size_t portColon = url.find(':', pos);
      if (portColon != std::string_view::npos && portColon < authorityEnd) hostEnd = portColon;
      parts.host = Part(pos, hostEnd);
    }
    if (hostEnd < authorityEnd) {  // ":port"
      std::string_view digits = url.substr(hostEnd + 1, authorityEnd - hostEnd - 1);
      unsigned long port = 0;
      for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c)) || (port = port * 10 + (c - '0')) > 65535) {
          *error = ERROR_INTERNET_INVALID_URL;
          return std::nullopt;
        }
      }
      if (!digits.empty()) parts.port = static_cast<INTERNET_PORT>(port);
    }
    if (parts.host.length == 0 &&
        (parts.schemeNumber == INTERNET_SCHEME_HTTP || parts.schemeNumber == INTERNET_SCHEME_HTTPS)) {
      *error = ERROR_INTERNET_INVALID_URL;
      return std::nullopt;
    }
    pos = authorityEnd;
  }
  std::size_t extra = url.find_first_of("?#", pos);
  if (extra == std::string_view::npos) extra = url.size();
  parts.path = Part(pos, extra);
  parts.extraInfo = Part(extra, url.size());
  return parts;
}

}  // namespace wininet
