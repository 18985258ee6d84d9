#include "app/fetch/fetch_page.h"

#include "app/base/runtime_calls.h"
#include "runtime/core/core_library.h"

namespace app {

// The body up to its first zero byte, in the bytes that came (no character set change).
runtime::Text FetchPage(const char* url, const char* method, const char* proxy, runtime::Text* headers,
                        const char* postData, runtime::Text* responseHeaders) {
  void* body = HttpRequest(url, method, proxy, headers, postData, responseHeaders);
  runtime::Text page = ResultText(CallCore(runtime::core::command::ToText, {runtime::ByteSetArg(body)}));
  FreeBlock(body);
  return page;
}

}  // namespace app
