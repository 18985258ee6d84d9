#include "app/base/dll_commands.h"
#include "app/base/runtime_calls.h"
#include "app/fetch/fetch_page.h"
#include "app/fetch/url_parts.h"
#include "app/program_texts.h"
#include "app/text/text_primitives.h"
#include "request_steps.h"
#include "runtime/core/core_library.h"

namespace app {
namespace {

namespace cmd = runtime::core::command;
using runtime::TextArg;

constexpr DWORD kOpenDirect = 1;           // INTERNET_OPEN_TYPE_DIRECT
constexpr DWORD kOpenProxy = 3;            // INTERNET_OPEN_TYPE_PROXY
constexpr DWORD kServiceHttp = 3;          // INTERNET_SERVICE_HTTP
constexpr DWORD kFlagReload = 0x80000000;  // INTERNET_FLAG_RELOAD
constexpr DWORD kRawHeadersCrlf = 22;      // HTTP_QUERY_RAW_HEADERS_CRLF
constexpr std::int32_t kHeaderBuffer = 1024;

// Not an empty byte set: 255 zero bytes, which a page read sees as the empty text.
void* FailureResult() { return ResultBlock(CallCore(cmd::BlankByteSet, {runtime::IntArg(255)})); }

bool IsEmpty(const char* text) { return CompareText(text, kTexts.Empty) == 0; }

HINTERNET OpenInternet(const char* proxy) {
  runtime::Text spaceless = ResultText(CallCore(cmd::RemoveAllSpaces, {TextArg(proxy)}));
  const bool direct = IsEmpty(spaceless);
  FreeBlock(spaceless);
  if (direct) return dll::InternetOpenA(kTexts.FetchAgent, kOpenDirect, nullptr, nullptr, 0);
  runtime::Text proxyName = ConcatTexts({kTexts.FetchProxyPrefix, proxy});  // the caller's spaces included
  HINTERNET internet = dll::InternetOpenA(kTexts.FetchAgent, kOpenProxy, proxyName, nullptr, 0);
  FreeBlock(proxyName);
  return internet;
}

// The request sent as its method asks; false for a method other than GET and POST.
bool Send(HINTERNET request, const char* method, runtime::Text& headers, const char* postData) {
  runtime::Text upper = ResultText(CallCore(cmd::ToUpper, {TextArg(method)}));
  const bool get = IsEmpty(method) || CompareText(upper, kTexts.FetchGet) == 0;
  const bool post = !get && CompareText(upper, kTexts.FetchPost) == 0;
  FreeBlock(upper);
  if (get) {
    dll::HttpSendRequestA(request, headers, static_cast<DWORD>(TextLength(headers)), nullptr, 0);
    return true;
  }
  if (!post) return false;
  const bool hasBody = !IsEmpty(postData);
  if (hasBody) AddBodyHeaders(headers, postData);
  dll::HttpSendRequestA(request, headers, static_cast<DWORD>(TextLength(headers)),
                        hasBody ? const_cast<char*>(postData) : nullptr, static_cast<DWORD>(TextLength(postData)));
  return true;
}

}  // namespace

void* HttpRequest(const char* url, const char* method, const char* proxy, runtime::Text* headers,
                  const char* postData, runtime::Text* responseHeaders) {
  runtime::Text path = UrlPath(url);
  runtime::Text host = UrlHost(url, false);
  // Left-out variables: the request's own, gone with it.
  runtime::Text ownHeaders = nullptr, ownResponseHeaders = nullptr;
  runtime::Text& sent = headers ? *headers : ownHeaders;
  runtime::Text& received = responseHeaders ? *responseHeaders : ownResponseHeaders;
  void* body = nullptr;

  HINTERNET internet = OpenInternet(proxy);
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;
  if (internet) {
    connection = dll::InternetConnectA(internet, host, static_cast<WORD>(UrlPort(url)), kTexts.Empty, kTexts.Empty,
                                       kServiceHttp, 0, 0);
    if (!connection) dll::InternetCloseHandle(internet);
  }
  if (connection) {
    request = dll::HttpOpenRequestA(connection, IsEmpty(method) ? nullptr : method, path, kTexts.FetchHttpVersion,
                                    nullptr, nullptr, kFlagReload, 0);
    if (!request) {
      dll::InternetCloseHandle(connection);
      dll::InternetCloseHandle(internet);
    }
  }
  if (request) {
    CompleteHeaders(sent, url);
    if (!Send(request, method, sent, postData)) {
      dll::InternetCloseHandle(connection);
      dll::InternetCloseHandle(internet);
      dll::InternetCloseHandle(request);
      request = nullptr;
    }
  }
  if (request) {
    body = ReadBody(request);
    // WinInet writes the raw block with its NUL into the spaces; a block that does not fit
    // leaves them as they are.
    Assign(received, ResultText(CallCore(cmd::SpaceText, {runtime::IntArg(kHeaderBuffer)})));
    DWORD length = kHeaderBuffer;
    dll::HttpQueryInfoA(request, kRawHeadersCrlf, received, &length, nullptr);
    dll::InternetCloseHandle(request);
    dll::InternetCloseHandle(connection);
    dll::InternetCloseHandle(internet);
    StoreResponseCookies(received, host);
  } else {
    body = FailureResult();
  }
  FreeBlock(ownResponseHeaders);
  FreeBlock(ownHeaders);
  FreeBlock(host);
  FreeBlock(path);
  return body;
}

}  // namespace app
