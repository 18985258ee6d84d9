// What one HttpSendRequestA sends, hop after hop: the request's verb, object, headers and
// body with the options of its handles, aimed at a URL; redirects re-aim it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "handles.h"
#include "transfer.h"

namespace wininet {

inline constexpr int kMaxRedirects = 20;
inline constexpr DWORD kDefaultTimeout = 60000;  // ms: connect, send and receive alike

struct RequestPlan {
  TransferSpec spec;
  std::vector<HeaderLine> headers;  // the merged header lines, before libcurl's syntax
  ProxySetting proxy;
  ProxyEnvironment environment;
  bool followRedirects = true;
};

// The object as it goes into the request line: spaces, control bytes, "#" and bytes above
// 0x7E escaped as %XX, a "/" in front when it has none.
std::string EscapeObject(const std::string& object);

// Reads the request and the handles above it; call with the handle lock held.
// Fails with ERROR_INTERNET_INVALID_URL when the host cannot make a URL.
DWORD PlanRequest(const RequestObject& request, const std::vector<HeaderLine>& callerHeaders, std::string body,
                  bool hasBody, RequestPlan* plan);

bool IsFollowedRedirect(int status);
// The absolute http or https URL a Location names relative to base; nullopt for any other
// scheme (not followed) or an unreadable location.
std::optional<std::string> RedirectTarget(const std::string& base, const std::string& location);
// Aims the plan at the target: 301, 302 and 303 turn a verb other than GET or HEAD into GET
// and drop the body with its Content-Type and Content-Length; 307 keeps everything.
void FollowRedirect(RequestPlan& plan, const std::string& target, int status);

}  // namespace wininet
