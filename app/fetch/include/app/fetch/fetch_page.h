// One HTTP request through WinInet: GET, or POST with a form body.
//
// Every optional Text argument may be null (left out). `headers` and `responseHeaders` are
// the caller's variables (null: left out): the request stores into them, freeing what they
// held, so after a request that was sent *headers holds the block that was sent.
#pragma once

#include "runtime/values.h"

namespace app {

// The response body as a new ByteSet; the failure result is 255 zero bytes.
void* HttpRequest(const char* url, const char* method = nullptr, const char* proxy = nullptr,
                  runtime::Text* headers = nullptr, const char* postData = nullptr,
                  runtime::Text* responseHeaders = nullptr);

// The body up to its first zero byte, as a new Text.
runtime::Text FetchPage(const char* url, const char* method = nullptr, const char* proxy = nullptr,
                        runtime::Text* headers = nullptr, const char* postData = nullptr,
                        runtime::Text* responseHeaders = nullptr);

}  // namespace app
