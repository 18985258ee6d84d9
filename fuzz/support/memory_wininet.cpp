#include "memory_wininet.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <strings.h>

#include "kernel/modules.h"
#include "kernel/process.h"
#include "wininet/wininet.h"

namespace fuzz {
namespace {

enum class Kind { Internet, Connection, Request };

struct Handle {
  Kind kind;
  bool post = false;
  std::size_t read = 0;  // body bytes handed out
};

MemoryResponse g_get, g_post;
std::set<Handle*> g_open;
int g_sent = 0;

Handle* Open(Kind kind) {
  auto* handle = new Handle{kind};
  g_open.insert(handle);
  return handle;
}

Handle* Find(HINTERNET h, Kind kind) {
  auto* handle = static_cast<Handle*>(h);
  return g_open.count(handle) && handle->kind == kind ? handle : nullptr;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

const MemoryResponse& ResponseOf(const Handle& request) { return request.post ? g_post : g_get; }

HINTERNET MemoryOpen(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD) { return Open(Kind::Internet); }

HINTERNET MemoryConnect(HINTERNET internet, LPCSTR, INTERNET_PORT, LPCSTR, LPCSTR, DWORD, DWORD, DWORD_PTR) {
  return Find(internet, Kind::Internet) ? Open(Kind::Connection) : nullptr;
}

HINTERNET MemoryOpenRequest(HINTERNET connection, LPCSTR verb, LPCSTR, LPCSTR, LPCSTR, LPCSTR*, DWORD, DWORD_PTR) {
  if (!Find(connection, Kind::Connection)) return nullptr;
  Handle* request = Open(Kind::Request);
  request->post = verb && strcasecmp(verb, "POST") == 0;
  return request;
}

BOOL MemorySend(HINTERNET request, LPCSTR, DWORD, LPVOID, DWORD) {
  if (!Find(request, Kind::Request)) return Fail(ERROR_INVALID_HANDLE);
  ++g_sent;
  return TRUE;
}

BOOL MemoryQueryInfo(HINTERNET request, DWORD level, LPVOID buffer, LPDWORD length, LPDWORD) {
  Handle* handle = Find(request, Kind::Request);
  if (!handle || !length) return Fail(ERROR_INVALID_HANDLE);
  if (level != HTTP_QUERY_RAW_HEADERS_CRLF) return Fail(ERROR_HTTP_HEADER_NOT_FOUND);
  const std::string& headers = ResponseOf(*handle).headers;
  if (!buffer || *length < headers.size() + 1) {
    *length = static_cast<DWORD>(headers.size() + 1);
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  std::memcpy(buffer, headers.c_str(), headers.size() + 1);
  *length = static_cast<DWORD>(headers.size());
  return TRUE;
}

BOOL MemoryRead(HINTERNET request, LPVOID buffer, DWORD ask, LPDWORD got) {
  Handle* handle = Find(request, Kind::Request);
  if (!handle || !got) return Fail(ERROR_INVALID_HANDLE);
  const std::string& body = ResponseOf(*handle).body;
  const std::size_t n = std::min<std::size_t>(ask, body.size() - handle->read);
  std::memcpy(buffer, body.data() + handle->read, n);
  handle->read += n;
  *got = static_cast<DWORD>(n);
  return TRUE;
}

BOOL MemorySetCookie(LPCSTR, LPCSTR, LPCSTR) { return TRUE; }
BOOL MemorySetOption(HINTERNET, DWORD, LPVOID, DWORD) { return TRUE; }

BOOL MemoryClose(HINTERNET h) {
  auto* handle = static_cast<Handle*>(h);
  if (!g_open.erase(handle)) return Fail(ERROR_INVALID_HANDLE);
  delete handle;
  return TRUE;
}

}  // namespace

void InstallMemoryWininet() {
  RegisterWininetModule();  // first the real module, whose URL parser stays in use
  const BuiltinExport exports[] = {
      {"HttpOpenRequestA", 0, 32, ExportAddress(&MemoryOpenRequest)},
      {"HttpQueryInfoA", 0, 20, ExportAddress(&MemoryQueryInfo)},
      {"HttpSendRequestA", 0, 20, ExportAddress(&MemorySend)},
      {"InternetCloseHandle", 0, 4, ExportAddress(&MemoryClose)},
      {"InternetConnectA", 0, 32, ExportAddress(&MemoryConnect)},
      {"InternetOpenA", 0, 20, ExportAddress(&MemoryOpen)},
      {"InternetReadFile", 0, 16, ExportAddress(&MemoryRead)},
      {"InternetSetCookieA", 0, 12, ExportAddress(&MemorySetCookie)},
      {"InternetSetOptionA", 0, 16, ExportAddress(&MemorySetOption)},
  };
  RegisterBuiltinModule("wininet.dll", exports);
}

void ServeFromMemory(MemoryResponse get, MemoryResponse post) {
  g_get = std::move(get);
  g_post = std::move(post);
  g_sent = 0;
}

int OpenRequestHandles() {
  return static_cast<int>(std::count_if(g_open.begin(), g_open.end(), [](Handle* h) { return h->kind != Kind::Internet; }));
}
int OpenInternetHandles() { return static_cast<int>(g_open.size()) - OpenRequestHandles(); }
int RequestsSent() { return g_sent; }

}  // namespace fuzz
