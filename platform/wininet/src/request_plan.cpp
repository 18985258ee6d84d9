#include "request_plan.h"

#include <cstdio>

#include <curl/curl.h>

#include "connect_to.h"
#include "cookies.h"
#include "text.h"
#include "url_parts.h"

namespace wininet {
namespace {

bool ValidHost(const std::string& host) {
  if (host.empty()) return false;
  for (unsigned char c : host) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
              c == '_' || c == '~' || c == ':' || c >= 0x80;
    if (!ok) return false;
  }
  return true;
}

// A timeout set on the request or a handle above it. 0 and 0xFFFFFFFF, Windows' ways of
// asking for none, count as not set: a silent server must never hang a caller for ever.
std::optional<DWORD> Limit(const RequestObject& request, std::optional<DWORD> HandleOptions::*member) {
  std::optional<DWORD> value = Inherited(request, member);
  if (value == 0u || value == 0xFFFFFFFFu) return std::nullopt;
  return value;
}

// Sets the URL and the proxy that serves it.
void AimAt(RequestPlan& plan, const std::string& url) {
  plan.spec.url = url;
  DWORD error = 0;
  auto parts = SplitUrl(url, &error);
  std::string host = parts ? std::string(PartOf(url, parts->host)) : "";
  bool https = parts && parts->schemeNumber == INTERNET_SCHEME_HTTPS;
  ProxyRoute route = parts && IsAimed(plan.spec.connectTo, host, parts->port)
                         ? ProxyRoute{}
                         : RouteFor(plan.proxy, https, host, plan.environment);
  plan.spec.proxy = route.proxy;
  plan.spec.noProxy = route.noProxy;
}

// Call once the plan is aimed: WinInet's own Cookie header, composed from the store for this
// URL, replaces one the caller gave, so a request never carries two. It goes first, where
// libcurl would put a header of its own.
void RefreshHeaderLines(RequestPlan& plan) {
  std::vector<HeaderLine> headers = plan.headers;
  if (plan.spec.cookies) {
    std::string stored = CookieHeaderFor(plan.spec.url);
    if (!stored.empty()) {
      RemoveHeaders(headers, "Cookie");
      headers.insert(headers.begin(), MakeHeader("Cookie", stored));
    }
  }
  plan.spec.headerLines = CurlHeaderLines(headers, plan.spec.sendsBody);
}

}  // namespace

std::string EscapeObject(const std::string& object) {
  std::string escaped = object.empty() || object[0] != '/' ? "/" : "";
  for (unsigned char c : object) {
    if (c <= 0x20 || c >= 0x7F || c == '#') {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      escaped += hex;
    } else {
      escaped += static_cast<char>(c);
    }
  }
  return escaped;
}

DWORD PlanRequest(const RequestObject& request, const std::vector<HeaderLine>& callerHeaders, std::string body,
                  bool hasBody, RequestPlan* plan) {
  const auto& connection = static_cast<const ConnectionObject&>(*request.parent);
  if (!ValidHost(connection.host)) return ERROR_INTERNET_INVALID_URL;
  const DWORD flags = request.flags | connection.flags;
  const bool https = (flags & INTERNET_FLAG_SECURE) != 0;

  INTERNET_PORT port = connection.port;
  INTERNET_PORT defaultPort = https ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;
  if (port == INTERNET_INVALID_PORT_NUMBER) port = defaultPort;
  std::string host = connection.host.find(':') != std::string::npos ? "[" + connection.host + "]" : connection.host;
  std::string url = std::string(https ? "https://" : "http://") + host;
  if (port != defaultPort) url += ":" + std::to_string(port);
  url += EscapeObject(request.object);

  TransferSpec& spec = plan->spec;
  spec.verb = request.verb;
  spec.http10 = request.http10;
  spec.sendsBody = hasBody || !(EqualsIgnoreCase(request.verb, "GET") || EqualsIgnoreCase(request.verb, "HEAD"));
  spec.body = std::move(body);
  spec.userAgent = Inherited(request, &HandleOptions::userAgent).value_or("");
  spec.userName = Inherited(request, &HandleOptions::userName).value_or("");
  spec.password = Inherited(request, &HandleOptions::password).value_or("");
  spec.proxyUserName = Inherited(request, &HandleOptions::proxyUserName).value_or("");
  spec.proxyPassword = Inherited(request, &HandleOptions::proxyPassword).value_or("");
  spec.cookies = (flags & INTERNET_FLAG_NO_COOKIES) == 0;
  spec.verifyHostName = (flags & INTERNET_FLAG_IGNORE_CERT_CN_INVALID) == 0;
  spec.connectTo = ConnectToFromEnvironment();

  spec.timeouts.connect = Limit(request, &HandleOptions::connectTimeout).value_or(kDefaultTimeout);
  spec.timeouts.send = Limit(request, &HandleOptions::dataSendTimeout)
                           .value_or(Limit(request, &HandleOptions::sendTimeout).value_or(kDefaultTimeout));
  spec.timeouts.receive = Limit(request, &HandleOptions::receiveTimeout).value_or(kDefaultTimeout);
  spec.timeouts.bodyReceive = Limit(request, &HandleOptions::dataReceiveTimeout).value_or(spec.timeouts.receive);

  plan->headers = MergeHeaders(request.derivedHeaders, callerHeaders);
  plan->proxy = Inherited(request, &HandleOptions::proxy).value_or(ProxySetting{});
  plan->environment = ProxyEnvironment::FromProcess();
  plan->followRedirects = (flags & INTERNET_FLAG_NO_AUTO_REDIRECT) == 0;
  AimAt(*plan, url);
  RefreshHeaderLines(*plan);
  return ERROR_SUCCESS;
}

bool IsFollowedRedirect(int status) { return status == 301 || status == 302 || status == 303 || status == 307; }

std::optional<std::string> RedirectTarget(const std::string& base, const std::string& location) {
  CURLU* url = curl_url();
  std::optional<std::string> target;
  char* text = nullptr;
  char* scheme = nullptr;
  if (curl_url_set(url, CURLUPART_URL, base.c_str(), 0) == CURLUE_OK &&
      curl_url_set(url, CURLUPART_URL, location.c_str(), CURLU_URLENCODE | CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK &&
      curl_url_get(url, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
      (EqualsIgnoreCase(scheme, "http") || EqualsIgnoreCase(scheme, "https")) &&
      curl_url_get(url, CURLUPART_URL, &text, 0) == CURLUE_OK) {
    target = text;
  }
  curl_free(text);
  curl_free(scheme);
  curl_url_cleanup(url);
  return target;
}

void FollowRedirect(RequestPlan& plan, const std::string& target, int status) {
  TransferSpec& spec = plan.spec;
  if (status != 307 && !EqualsIgnoreCase(spec.verb, "GET") && !EqualsIgnoreCase(spec.verb, "HEAD")) {
    spec.verb = "GET";
    spec.sendsBody = false;
    spec.body.clear();
    RemoveHeaders(plan.headers, "Content-Type");
    RemoveHeaders(plan.headers, "Content-Length");
  }
  RemoveHeaders(plan.headers, "Host");  // the target's own host names itself
  AimAt(plan, target);
  RefreshHeaderLines(plan);
}

}  // namespace wininet
