#include "app/text/url_decode.h"

#include "app/base/runtime_calls.h"
#include "app/program_texts.h"
#include "app/text/convert_charset.h"
#include "app/text/text_primitives.h"
#include "runtime/core/core_library.h"

namespace app {
namespace {

namespace cmd = runtime::core::command;
using runtime::IntArg;
using runtime::TextArg;

// The value of the hexadecimal digit at position i, by its place in the digit table: a
// position past the end reads as the empty text (found at 1, so 0); a byte that is no
// digit is not found (-1, so -2).
std::int32_t DigitAt(const char* text, std::int32_t i) {
  runtime::Text c = ResultText(CallCore(cmd::TextMiddle, {TextArg(text), IntArg(i), IntArg(1)}));
  runtime::Text upper = ResultText(CallCore(cmd::ToUpper, {TextArg(c)}));
  const std::int32_t found = ResultInt(CallCore(cmd::FindText, {TextArg(kTexts.TextHexDigits), TextArg(upper)}));
  FreeBlock(upper);
  FreeBlock(c);
  return found - 1;
}

}  // namespace

runtime::Text UrlDecode(const char* text) {
  const std::int32_t n = ResultInt(CallCore(cmd::GetTextLength, {TextArg(text)}));
  runtime::Text acc = nullptr;
  for (std::int32_t i = 1; i <= n; ++i) {
    runtime::Text c = ResultText(CallCore(cmd::TextMiddle, {TextArg(text), IntArg(i), IntArg(1)}));
    if (CompareText(c, kTexts.TextPercent) != 0) {
      Assign(acc, ConcatTexts({acc, c}));
    } else {
      ++i;
      const std::int32_t hi = DigitAt(text, i);
      ++i;
      const std::int32_t lo = DigitAt(text, i);
      const auto code = static_cast<std::int32_t>(static_cast<double>(hi) * 16 + lo);
      // Only the low eight bits count; code 0 adds nothing.
      runtime::Text byte = ResultText(
          CallCore(cmd::CharFromCode, {runtime::MakeArg(static_cast<std::uint32_t>(code) & 0xFF, runtime::types::Byte)}));
      Assign(acc, ConcatTexts({acc, byte}));
      FreeBlock(byte);
    }
    FreeBlock(c);
  }
  void* bytes = ResultBlock(CallCore(cmd::ToByteSet, {TextArg(acc)}));
  FreeBlock(acc);
  void* converted = ConvertCharset(bytes, kTexts.CharsetUtf8, kTexts.CharsetGbk);
  FreeBlock(bytes);
  runtime::Text decoded = ResultText(CallCore(cmd::ToText, {runtime::ByteSetArg(converted)}));
  FreeBlock(converted);
  return decoded;
}

}  // namespace app
