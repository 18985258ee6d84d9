// Splitting a URL into the parts InternetCrackUrlA reports, without changing a character.
#pragma once

#include <optional>
#include <string_view>

#include "wininet/wininet.h"

namespace wininet {

struct UrlPart {
  bool present = false;
  std::size_t offset = 0;  // into the URL
  std::size_t length = 0;
};

struct UrlParts {
  UrlPart scheme, userName, password, host, path, extraInfo;  // extraInfo: "?query#fragment"
  INTERNET_SCHEME schemeNumber = INTERNET_SCHEME_UNKNOWN;
  INTERNET_PORT port = 0;  // the scheme's default when the URL gives none
};

// nullopt with *error ERROR_INTERNET_UNRECOGNIZED_SCHEME (no "scheme:") or
// ERROR_INTERNET_INVALID_URL (a bad port, or an http URL without a host).
std::optional<UrlParts> SplitUrl(std::string_view url, DWORD* error);

inline std::string_view PartOf(std::string_view url, const UrlPart& part) {
  return part.present ? url.substr(part.offset, part.length) : std::string_view{};
}

INTERNET_PORT DefaultPort(INTERNET_SCHEME scheme);

}  // namespace wininet
