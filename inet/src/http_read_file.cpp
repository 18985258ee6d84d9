// HttpReadFile: one GET through the WinInet entries of the InternetClient.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "inet/internet_library.h"
#include "internet_client.h"
#include "read_chunk.h"

namespace inet {
namespace {

const char kAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;  // 0x84000000

struct SplitUrl {
  INTERNET_SCHEME scheme;
  std::string host, userName, password, object;
  INTERNET_PORT port;
};

// The URL's parts as they stand; the object is the path and query, without a fragment.
std::optional<SplitUrl> Split(const WininetEntries& w, const char* url) {
  URL_COMPONENTSA c{};
  c.dwStructSize = sizeof c;
  c.dwHostNameLength = c.dwUserNameLength = c.dwPasswordLength = c.dwUrlPathLength = c.dwExtraInfoLength = 1;
  if (!w.internetCrackUrl(url, 0, 0, &c)) return std::nullopt;
  auto part = [](LPSTR p, DWORD n) { return p ? std::string(p, n) : std::string(); };
  SplitUrl split{c.nScheme, part(c.lpszHostName, c.dwHostNameLength), part(c.lpszUserName, c.dwUserNameLength),
                 part(c.lpszPassword, c.dwPasswordLength),
                 part(c.lpszUrlPath, c.dwUrlPathLength) + part(c.lpszExtraInfo, c.dwExtraInfoLength), c.nPort};
  split.object = split.object.substr(0, split.object.find('#'));
  return split;
}

// The service a scheme's connection uses; https is HTTP made secure. Schemes other than
// http and https keep their own service, which the connection refuses.
DWORD ServiceFor(INTERNET_SCHEME scheme, DWORD* flags) {
  *flags = kRequestFlags;
  switch (scheme) {
    case INTERNET_SCHEME_HTTP: return INTERNET_SERVICE_HTTP;
    case INTERNET_SCHEME_HTTPS: *flags |= INTERNET_FLAG_SECURE; return INTERNET_SERVICE_HTTP;
    case INTERNET_SCHEME_FTP: return INTERNET_SERVICE_FTP;
    case INTERNET_SCHEME_GOPHER: return INTERNET_SERVICE_GOPHER;
    default: return 0;
  }
}

std::optional<long long> ContentLength(const WininetEntries& w, HINTERNET request) {
  char text[32];
  DWORD size = sizeof text;
  if (!w.httpQueryInfo(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return std::nullopt;
  return std::strtoll(text, nullptr, 10);
}

// Reads the body until its end, a failing read or the cap; what arrived stays in body.
void ReadBody(const WininetEntries& w, HINTERNET request, std::vector<unsigned char>& body) {
  std::vector<unsigned char> chunk(static_cast<std::size_t>(ReadChunkSize(ContentLength(w, request))));
  const auto cap = static_cast<std::size_t>(MaxBodyBytes);
  while (body.size() < cap) {
    DWORD ask = static_cast<DWORD>(std::min(chunk.size(), cap - body.size()));
    DWORD got = 0;
    if (!w.internetReadFile(request, chunk.data(), ask, &got) || got == 0) return;
    try {
      // Doubling keeps appends cheap; the capacity may end up to twice the body, never past the cap.
      if (body.capacity() < body.size() + got) body.reserve(std::min(cap, std::max(2 * body.capacity(), body.size() + got)));
      body.insert(body.end(), chunk.data(), chunk.data() + got);
    } catch (const std::bad_alloc&) {
      return;  // out of memory: keep what is stored
    }
  }
}

// Fetches url into body; false when nothing could be asked for.
void Fetch(InternetClient& client, const char* url, std::vector<unsigned char>& body) {
  const WininetEntries& w = client.wininet;
  std::optional<SplitUrl> split = Split(w, url);
  if (!split) return;
  DWORD flags = 0;
  DWORD service = ServiceFor(split->scheme, &flags);

  if (!client.internet) {
    const bool direct = client.proxyName.empty();
    client.internet = w.internetOpen(kAgent, direct ? INTERNET_OPEN_TYPE_DIRECT : INTERNET_OPEN_TYPE_PROXY,
                                     direct ? nullptr : client.proxyName.c_str(), nullptr, 0);
    if (!client.internet) return;  // the next call tries again
  }
  HINTERNET connection = w.internetConnect(client.internet, split->host.c_str(), split->port, split->userName.c_str(),
                                           split->password.c_str(), service, 0, 0);
  if (!connection) return;

  // The system's configured proxy, and the (empty) proxy credentials.
  INTERNET_PROXY_INFO proxy{INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr};
  w.internetSetOption(client.internet, INTERNET_OPTION_PROXY, &proxy, sizeof proxy);
  w.internetSetOption(connection, INTERNET_OPTION_PROXY_USERNAME, client.proxyUserName.data(),
                      static_cast<DWORD>(client.proxyUserName.size() + 1));
  w.internetSetOption(connection, INTERNET_OPTION_PROXY_PASSWORD, client.proxyPassword.data(),
                      static_cast<DWORD>(client.proxyPassword.size() + 1));

  LPCSTR acceptTypes[] = {"Accept: */* \r\n", nullptr};
  HINTERNET request =
      w.httpOpenRequest(connection, "GET", split->object.c_str(), "HTTP/1.0", nullptr, acceptTypes, flags, 0);
  if (request) {
    static const char kHeaders[] = "Accept: */*\r\n\r\n";
    if (w.httpSendRequest(request, kHeaders, sizeof kHeaders - 1, nullptr, 0)) ReadBody(w, request, body);
    w.internetCloseHandle(request);
  }
  w.internetCloseHandle(connection);
}

}  // namespace

void HttpReadFile(runtime::CommandResult* result, std::int32_t argc, runtime::CommandArg* args) {
  runtime::SetPointerResult(result, nullptr, runtime::types::ByteSet);
  InternetClient* client = Client();
  if (!client || !client->notify || !client->wininet.Complete() || argc < 1 ||
      args[0].type != runtime::types::Text) {
    return;
  }
  const char* url = runtime::ArgText(args[0]);
  if (!url || !*url) return;  // no network call for an empty URL

  std::vector<unsigned char> body;
  Fetch(*client, url, body);
  if (body.empty()) return;

  const auto length = static_cast<std::int32_t>(body.size());
  void* block = reinterpret_cast<void*>(client->notify(runtime::notify::Allocate,
                                                       runtime::ByteSetHeaderSize + length, 1));
  if (!block) return;  // the runtime heap refused: no failure is raised, the result stays empty
  const std::int32_t header[2] = {1, length};
  std::memcpy(block, header, sizeof header);
  std::memcpy(runtime::ByteSetBytes(block), body.data(), body.size());
  runtime::SetPointerResult(result, block, runtime::types::ByteSet);
}

}  // namespace inet
