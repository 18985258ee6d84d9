// The steps of one request that HttpRequest runs in order, each on the open request.
#pragma once

#include <cstdint>

#include "app/base/dll_commands.h"
#include "runtime/values.h"

namespace app {

// A body is read up to this many bytes and the rest left unread, as the Internet library
// does: an endless or enormous response cannot exhaust the heap.
inline constexpr std::int32_t kMaxBodyBytes = 64 * 1024 * 1024;

// Appends the default Accept, Referer and Accept-Language lines that `headers` lacks.
void CompleteHeaders(runtime::Text& headers, const char* url);
// The POST body's Content-Type line (when missing) and its Content-Length line.
void AddBodyHeaders(runtime::Text& headers, const char* postData);

// The body in 2048-byte reads, handling waiting window messages before each; a new ByteSet.
void* ReadBody(HINTERNET request);

// Stores every "Set-Cookie: " line of the raw header block for "http://" + host.
void StoreResponseCookies(const char* responseHeaders, const char* host);

}  // namespace app
