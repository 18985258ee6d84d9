#include "app/fetch/url_parts.h"

#include "app/base/runtime_calls.h"
#include "app/program_texts.h"
#include "app/text/text_primitives.h"
#include "runtime/core/core_library.h"

namespace app {
namespace {

namespace cmd = runtime::core::command;
using runtime::IntArg;
using runtime::TextArg;

std::int32_t Length(const char* t) { return ResultInt(CallCore(cmd::GetTextLength, {TextArg(t)})); }

}  // namespace

runtime::Text UrlHost(const char* url, bool keepPort) {
  // Only "http://" is known, in that letter case; without it the URL starts with the host.
  const std::int32_t p = ResultInt(CallCore(cmd::FindText, {TextArg(url), TextArg(kTexts.FetchHttpScheme)}));
  const std::int32_t start = p == -1 ? 1 : p + 7;
  const std::int32_t q = ResultInt(CallCore(cmd::FindText, {TextArg(url), TextArg(kTexts.FetchSlash), IntArg(start)}));
  runtime::Text host =
      ResultText(CallCore(cmd::TextMiddle, {TextArg(url), IntArg(start), IntArg(q == -1 ? Length(url) : q - start)}));
  if (!keepPort) {
    const std::int32_t c = ResultInt(CallCore(cmd::FindText, {TextArg(host), TextArg(kTexts.FetchColon)}));
    if (c != -1) Assign(host, ResultText(CallCore(cmd::TextLeft, {TextArg(host), IntArg(c - 1)})));
  }
  runtime::Text lower = ResultText(CallCore(cmd::ToLower, {TextArg(host)}));
  FreeBlock(host);
  return lower;
}

runtime::Text UrlPath(const char* url) {
  runtime::Text host = UrlHost(url, false);
  const std::int32_t p =
      ResultInt(CallCore(cmd::FindText, {TextArg(url), TextArg(host), IntArg(1), runtime::BoolArg(true)}));
  FreeBlock(host);
  const std::int32_t q =
      ResultInt(CallCore(cmd::FindText, {TextArg(url), TextArg(kTexts.FetchSlash), IntArg(p), runtime::BoolArg(true)}));
  if (q > 0) return ResultText(CallCore(cmd::TextRight, {TextArg(url), IntArg(Length(url) - q + 1)}));
  return ConcatTexts({kTexts.FetchSlash});
}

std::int32_t UrlPort(const char* url) {
  runtime::Text host = UrlHost(url, true);
  const std::int32_t c = ResultInt(CallCore(cmd::FindText, {TextArg(host), TextArg(kTexts.FetchColon)}));
  std::int32_t port = 80;
  if (c != -1) {
    runtime::Text digits = ResultText(CallCore(cmd::TextRight, {TextArg(host), IntArg(Length(host) - c)}));
    const double number = ResultDouble(CallCore(cmd::ToNumber, {TextArg(digits)}));
    FreeBlock(digits);
    // Truncated toward zero as the runtime truncates a double, also out of the int32 range.
    port = ResultInt(CallCore(cmd::ToInteger, {runtime::DoubleArg(number)}));
  }
  FreeBlock(host);
  return port;
}

}  // namespace app
