// HttpOpenRequestA, HttpSendRequestA, InternetReadFile: one request and its response body.
#include <cstring>

#include "failure.h"
#include "handles.h"
#include "request_plan.h"
#include "text.h"

using namespace wininet;

namespace {

// A verb is an HTTP token: nothing that could break the request line.
bool ValidVerb(std::string_view verb) {
  for (unsigned char c : verb) {
    if (c <= 0x20 || c >= 0x7F || std::strchr("()<>@,;:\\\"/[]?={}", c)) return false;
  }
  return true;
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// The accept types as one Accept line; entries are trimmed and any that would break the
// line are left out.
std::optional<HeaderLine> AcceptHeader(LPCSTR* acceptTypes) {
  std::string value;
  for (LPCSTR* type = acceptTypes; type && *type; ++type) {
    std::string_view entry(*type);
    std::size_t b = entry.find_first_not_of(" \t\r\n");
    if (b == std::string_view::npos) continue;
    entry = entry.substr(b, entry.find_last_not_of(" \t\r\n") - b + 1);
    if (HasLineBreak(entry)) continue;
    if (!value.empty()) value += ", ";
    value += entry;
  }
  if (value.empty()) return std::nullopt;
  return MakeHeader("Accept", value);
}

std::shared_ptr<RequestObject> FindRequest(HINTERNET handle, DWORD* error) {
  return std::static_pointer_cast<RequestObject>(FindHandle(handle, HandleKind::Request, error));
}

}  // namespace

HINTERNET HttpOpenRequestA(HINTERNET connection, LPCSTR verb, LPCSTR objectName, LPCSTR version, LPCSTR referrer,
                           LPCSTR* acceptTypes, DWORD flags, DWORD_PTR) {
  std::string verbText = verb && *verb ? verb : "GET";
  if (!ValidVerb(verbText)) return FailHandle(ERROR_INVALID_PARAMETER);
  std::string versionText = version && *version ? version : "HTTP/1.1";
  if (!EqualsIgnoreCase(versionText, "HTTP/1.0") && !EqualsIgnoreCase(versionText, "HTTP/1.1")) {
    return FailHandle(ERROR_INVALID_PARAMETER);
  }
  if (referrer && HasLineBreak(referrer)) return FailHandle(ERROR_INVALID_PARAMETER);

  auto lock = LockHandles();
  DWORD error = 0;
  auto parent = FindHandle(connection, HandleKind::Connection, &error);
  if (!parent) return FailHandle(error);
  auto request = std::make_shared<RequestObject>(HandleKind::Request, parent);
  request->verb = verbText;
  request->object = objectName && *objectName ? objectName : "/";
  request->http10 = EqualsIgnoreCase(versionText, "HTTP/1.0");
  request->flags = flags;
  if (auto accept = AcceptHeader(acceptTypes)) request->derivedHeaders.push_back(*accept);
  if (referrer && *referrer) request->derivedHeaders.push_back(MakeHeader("Referer", referrer));
  // What some flags ask WinInet to say; a plain request says none of it.
  if (flags & INTERNET_FLAG_PRAGMA_NOCACHE) request->derivedHeaders.push_back(MakeHeader("Pragma", "no-cache"));
  if ((flags & INTERNET_FLAG_NO_CACHE_WRITE) && !EqualsIgnoreCase(verbText, "GET")) {
    request->derivedHeaders.push_back(MakeHeader("Cache-Control", "no-cache"));
  }
  if (flags & INTERNET_FLAG_KEEP_CONNECTION) request->derivedHeaders.push_back(MakeHeader("Connection", "Keep-Alive"));
  return AddHandle(std::move(request));
}

BOOL HttpSendRequestA(HINTERNET handle, LPCSTR headers, DWORD headersLength, LPVOID optional, DWORD optionalLength) {
  std::vector<HeaderLine> callerHeaders;
  if (headers && headersLength != 0) {
    std::size_t length = headersLength == 0xFFFFFFFF ? std::strlen(headers) : headersLength;
    if (!ParseHeaderBlock(std::string_view(headers, length), &callerHeaders)) return Fail(ERROR_HTTP_INVALID_HEADER);
  }
  if (optionalLength != 0 && !optional) return Fail(ERROR_INVALID_PARAMETER);
  std::string body = optional ? std::string(static_cast<const char*>(optional), optionalLength) : std::string();

  std::shared_ptr<RequestObject> request;
  RequestPlan plan;
  {
    auto lock = LockHandles();
    DWORD error = 0;
    request = FindRequest(handle, &error);
    if (!request) return Fail(error);
    request->transfer.reset();  // a new send forgets the last response
    if ((error = PlanRequest(*request, callerHeaders, std::move(body), optionalLength != 0, &plan))) return Fail(error);
  }

  for (int redirects = 0;; ++redirects) {
    auto transfer = std::make_unique<Transfer>(plan.spec);
    if (DWORD error = transfer->AwaitHead()) return Fail(error);
    const ResponseHead& head = transfer->Head();
    const std::string* location = head.Find("Location");
    std::optional<std::string> target;
    if (plan.followRedirects && IsFollowedRedirect(head.Status()) && location) {
      target = RedirectTarget(plan.spec.url, *location);
    }
    if (!target) {
      request->transfer = std::move(transfer);
      return TRUE;
    }
    if (redirects == kMaxRedirects) return Fail(ERROR_HTTP_REDIRECT_FAILED);
    FollowRedirect(plan, *target, head.Status());
  }
}

BOOL InternetReadFile(HINTERNET file, LPVOID buffer, DWORD numberOfBytesToRead, LPDWORD numberOfBytesRead) {
  if (!numberOfBytesRead) return Fail(ERROR_INVALID_PARAMETER);
  *numberOfBytesRead = 0;
  if (!buffer && numberOfBytesToRead) return Fail(ERROR_INVALID_PARAMETER);
  std::shared_ptr<RequestObject> request;
  {
    auto lock = LockHandles();
    DWORD error = 0;
    request = FindRequest(file, &error);
    if (!request) return Fail(error);
  }
  if (!request->transfer) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  if (numberOfBytesToRead == 0) return TRUE;
  std::size_t count = 0;
  if (DWORD error = request->transfer->Read(static_cast<char*>(buffer), numberOfBytesToRead, &count)) {
    return Fail(error);
  }
  *numberOfBytesRead = static_cast<DWORD>(count);
  return TRUE;
}
