#include "app/base/runtime_calls.h"
#include "app/program_texts.h"
#include "app/text/text_primitives.h"
#include "request_steps.h"
#include "runtime/core/core_library.h"

namespace app {
namespace {

namespace cmd = runtime::core::command;

// Whether the name occurs anywhere in the block, in any letter case.
bool Mentions(const char* headers, const char* name) {
  return ResultInt(CallCore(cmd::FindText, {runtime::TextArg(headers), runtime::TextArg(name), runtime::IntArg(1),
                                            runtime::BoolArg(true)})) != -1;
}

}  // namespace

void CompleteHeaders(runtime::Text& headers, const char* url) {
  if (!Mentions(headers, kTexts.FetchAcceptName)) Assign(headers, ConcatTexts({headers, kTexts.FetchAcceptLine}));
  if (!Mentions(headers, kTexts.FetchRefererName)) {
    Assign(headers, ConcatTexts({headers, kTexts.FetchRefererName, url, kTexts.FetchLineEnd}));
  }
  if (!Mentions(headers, kTexts.FetchAcceptLanguageName)) {
    Assign(headers, ConcatTexts({headers, kTexts.FetchAcceptLanguageLine}));
  }
}

void AddBodyHeaders(runtime::Text& headers, const char* postData) {
  if (!Mentions(headers, kTexts.FetchContentTypeName)) {
    Assign(headers, ConcatTexts({headers, kTexts.FetchContentTypeLine}));
  }
  const std::int32_t length = ResultInt(CallCore(cmd::GetTextLength, {runtime::TextArg(postData)}));
  runtime::Text number = ResultText(CallCore(cmd::ToText, {runtime::IntArg(length)}));
  Assign(headers, ConcatTexts({headers, kTexts.FetchContentLengthName, number, kTexts.FetchLineEnd}));
  FreeBlock(number);
}

}  // namespace app
