// InternetSetCookieA: a cookie into the process's store, read as WinInet reads it.
#include "cookies.h"
#include "failure.h"
#include "url_parts.h"
#include "wininet/wininet.h"

using namespace wininet;

BOOL InternetSetCookieA(LPCSTR url, LPCSTR cookieName, LPCSTR cookieData) {
  if (!url || !cookieData) return Fail(ERROR_INVALID_PARAMETER);
  std::string_view text(url);
  DWORD error = 0;
  auto parts = SplitUrl(text, &error);
  if (!parts) return Fail(error);
  if (parts->schemeNumber != INTERNET_SCHEME_HTTP && parts->schemeNumber != INTERNET_SCHEME_HTTPS) {
    return Fail(ERROR_INTERNET_UNRECOGNIZED_SCHEME);
  }
  auto cookie = ParseCookie(PartOf(text, parts->host), PartOf(text, parts->path), cookieName, cookieData, &error);
  if (!cookie) return Fail(error);
  if (cookie->httpOnly) return Fail(ERROR_INVALID_OPERATION);  // only the Ex call may set those
  AddCookie(*cookie);
  return TRUE;
}
