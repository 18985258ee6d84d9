#include "app/text/text_between.h"

#include "app/base/runtime_calls.h"
#include "runtime/core/core_library.h"

namespace app {

runtime::Text TextBetween(const char* text, const char* left, const char* right) {
  namespace cmd = runtime::core::command;
  using runtime::IntArg;
  using runtime::TextArg;
  const std::int32_t n = ResultInt(CallCore(cmd::GetTextLength, {TextArg(text)}));
  const std::int32_t p = ResultInt(CallCore(cmd::FindText, {TextArg(text), TextArg(left)}));
  const std::int32_t start = p + ResultInt(CallCore(cmd::GetTextLength, {TextArg(left)}));
  runtime::Text rest = ResultText(CallCore(cmd::TextMiddle, {TextArg(text), IntArg(start), IntArg(n)}));
  const std::int32_t q = ResultInt(CallCore(cmd::FindText, {TextArg(rest), TextArg(right)}));
  runtime::Text between = ResultText(CallCore(cmd::TextMiddle, {TextArg(rest), IntArg(1), IntArg(q - 1)}));
  FreeBlock(rest);
  return between;
}

}  // namespace app
