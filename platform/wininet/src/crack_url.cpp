// InternetCrackUrlA: the parts of a URL, pointed at or copied as the caller asks.
#include <cstring>

#include "failure.h"
#include "url_parts.h"

using namespace wininet;

namespace {

// Fills one part; false with *error when the caller's buffer is too small.
bool Give(std::string_view url, const UrlPart& part, LPSTR& pointer, DWORD& length, DWORD* error) {
  if (!pointer && length == 0) return true;  // not wanted
  if (!pointer) {
    pointer = part.present ? const_cast<LPSTR>(url.data() + part.offset) : nullptr;
    length = static_cast<DWORD>(part.length);
    return true;
  }
  if (length <= part.length) {
    length = static_cast<DWORD>(part.length + 1);
    *error = ERROR_INSUFFICIENT_BUFFER;
    return false;
  }
  std::memcpy(pointer, url.data() + part.offset, part.length);
  pointer[part.length] = '\0';
  length = static_cast<DWORD>(part.length);
  return true;
}

}  // namespace

BOOL InternetCrackUrlA(LPCSTR url, DWORD urlLength, DWORD flags, URL_COMPONENTSA* c) {
  if (!url || !c || c->dwStructSize != sizeof(URL_COMPONENTSA) || flags != 0) return Fail(ERROR_INVALID_PARAMETER);
  std::string_view text(url, urlLength ? urlLength : std::strlen(url));
  DWORD error = 0;
  auto parts = SplitUrl(text, &error);
  if (!parts) return Fail(error);

  UrlPart path = parts->path;
  const bool extraWanted = c->lpszExtraInfo || c->dwExtraInfoLength;
  if (!extraWanted) path.length += parts->extraInfo.length;  // the path then carries "?query#fragment"

  c->nScheme = parts->schemeNumber;
  c->nPort = parts->port;
  bool ok = Give(text, parts->scheme, c->lpszScheme, c->dwSchemeLength, &error) &&
            Give(text, parts->host, c->lpszHostName, c->dwHostNameLength, &error) &&
            Give(text, parts->userName, c->lpszUserName, c->dwUserNameLength, &error) &&
            Give(text, parts->password, c->lpszPassword, c->dwPasswordLength, &error) &&
            Give(text, path, c->lpszUrlPath, c->dwUrlPathLength, &error) &&
            Give(text, parts->extraInfo, c->lpszExtraInfo, c->dwExtraInfoLength, &error);
  return ok ? TRUE : Fail(error);
}
