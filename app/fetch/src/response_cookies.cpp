#include "app/base/runtime_calls.h"
#include "app/program_texts.h"
#include "app/text/text_primitives.h"
#include "request_steps.h"
#include "runtime/core/core_library.h"

namespace app {
namespace {

namespace cmd = runtime::core::command;
using runtime::IntArg;
using runtime::TextArg;

bool HasSetCookie(const char* text) {
  return ResultInt(CallCore(cmd::FindText, {TextArg(text), TextArg(kTexts.FetchSetCookieName), IntArg(1),
                                            runtime::BoolArg(true)})) > 0;
}

// "Set-Cookie: name=data": the name before the first "=", the data (attributes included)
// after it; without "=" a null name and the whole rest as data.
void StoreCookieLine(runtime::Text& line, const char* cookieUrl) {
  Assign(line, ResultText(CallCore(cmd::ReplaceTextRange, {TextArg(line), IntArg(1), IntArg(12)})));
  const std::int32_t e =
      ResultInt(CallCore(cmd::FindText, {TextArg(line), TextArg(kTexts.FetchEquals), IntArg(1), runtime::BoolArg(true)}));
  const std::int32_t length = ResultInt(CallCore(cmd::GetTextLength, {TextArg(line)}));
  runtime::Text name = ResultText(CallCore(cmd::TextLeft, {TextArg(line), IntArg(e - 1)}));
  runtime::Text data = ResultText(CallCore(cmd::TextRight, {TextArg(line), IntArg(length - e)}));
  dll::InternetSetCookieA(cookieUrl, name, data);
  FreeBlock(data);
  FreeBlock(name);
}

}  // namespace

void StoreResponseCookies(const char* responseHeaders, const char* host) {
  if (!HasSetCookie(responseHeaders)) return;
  runtime::Text cookieUrl = ConcatTexts({kTexts.FetchHttpScheme, host});
  const runtime::CommandArg file = IntArg(ResultInt(CallCore(cmd::OpenMemoryFile, {})));
  CallCore(cmd::WriteText, {file, TextArg(responseHeaders)});
  CallCore(cmd::SeekToFileStart, {file});
  while (!ResultBool(CallCore(cmd::IsEndOfFile, {file}))) {
    runtime::Text line = ResultText(CallCore(cmd::ReadLine, {file}));
    if (HasSetCookie(line)) StoreCookieLine(line, cookieUrl);
    FreeBlock(line);
    CallCore(cmd::ProcessEvents, {});
    // A line read stops on a 0x1A byte and leaves it unread: step over it, or the loop
    // would read the same empty line for ever. The lines after it are read as usual.
    if (ResultBool(CallCore(cmd::IsEndOfFile, {file, runtime::BoolArg(true)})) &&
        !ResultBool(CallCore(cmd::IsEndOfFile, {file}))) {
      FreeBlock(ResultBlock(CallCore(cmd::ReadByteSet, {file, IntArg(1)})));
    }
  }
  CallCore(cmd::CloseFile, {file});
  FreeBlock(cookieUrl);
}

}  // namespace app
