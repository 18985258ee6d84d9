// HttpQueryInfoA: the final response's status and headers, with WinInet's buffer rules.
#include <cstdlib>
#include <cstring>
#include <optional>

#include "failure.h"
#include "handles.h"

using namespace wininet;

namespace {

const char* HeaderName(DWORD level) {
  switch (level) {
    case HTTP_QUERY_CONTENT_TYPE: return "Content-Type";
    case HTTP_QUERY_CONTENT_LENGTH: return "Content-Length";
    case HTTP_QUERY_LOCATION: return "Location";
    case HTTP_QUERY_SET_COOKIE: return "Set-Cookie";
    default: return nullptr;
  }
}

}  // namespace

BOOL HttpQueryInfoA(HINTERNET handle, DWORD infoLevel, LPVOID buffer, LPDWORD bufferLength, LPDWORD index) {
  std::shared_ptr<RequestObject> request;
  {
    auto lock = LockHandles();
    DWORD error = 0;
    request = std::static_pointer_cast<RequestObject>(FindHandle(handle, HandleKind::Request, &error));
    if (!request) return Fail(error);
  }
  if (!bufferLength) return Fail(ERROR_INVALID_PARAMETER);
  if (!request->transfer) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  const ResponseHead& head = request->transfer->Head();

  const DWORD level = infoLevel & ~HTTP_QUERY_MODIFIER_FLAGS_MASK;
  const DWORD modifiers = infoLevel & HTTP_QUERY_MODIFIER_FLAGS_MASK;
  if (modifiers & ~HTTP_QUERY_FLAG_NUMBER) return Fail(ERROR_HTTP_INVALID_QUERY_REQUEST);
  const bool number = modifiers == HTTP_QUERY_FLAG_NUMBER;

  std::string value;
  const char* name = HeaderName(level);
  if (name) {
    const std::string* found = head.Find(name, index ? *index : 0);
    if (!found) return Fail(ERROR_HTTP_HEADER_NOT_FOUND);
    value = *found;
  } else if (level == HTTP_QUERY_STATUS_CODE) {
    value = std::to_string(head.Status());
  } else if (level == HTTP_QUERY_STATUS_TEXT) {
    value = head.StatusText();
  } else if ((level == HTTP_QUERY_RAW_HEADERS_CRLF || level == HTTP_QUERY_RAW_HEADERS) && !number) {
    value = level == HTTP_QUERY_RAW_HEADERS_CRLF ? head.RawCrlf() : head.RawNul();
  } else {
    return Fail(ERROR_HTTP_INVALID_QUERY_REQUEST);
  }

  if (number) {
    if (*bufferLength < sizeof(DWORD)) {
      *bufferLength = sizeof(DWORD);
      return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    if (*bufferLength != sizeof(DWORD) || !buffer) return Fail(ERROR_INVALID_PARAMETER);
    auto n = static_cast<DWORD>(std::strtoul(value.c_str(), nullptr, 10));  // as atoi: digits, else 0
    std::memcpy(buffer, &n, sizeof n);
  } else {
    const std::size_t needed = value.size() + 1;  // with the NUL
    if (!buffer || *bufferLength < needed) {
      *bufferLength = static_cast<DWORD>(needed);
      return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(buffer, value.c_str(), needed);
    *bufferLength = static_cast<DWORD>(value.size());
  }
  if (name && index) ++*index;
  return TRUE;
}
