#include "app/text/format_file_size.h"

#include <cmath>

#include "app/base/runtime_calls.h"
#include "app/program_texts.h"
#include "app/text/text_primitives.h"
#include "runtime/core/core_library.h"

namespace app {
namespace {

namespace cmd = runtime::core::command;
using runtime::IntArg;
using runtime::TextArg;

constexpr std::int32_t kLastUnit = 6;  // PB: there is no larger unit

const char* UnitName(std::int32_t unit) {
  switch (unit) {
    case 1: return kTexts.SizeUnitB;
    case 2: return kTexts.SizeUnitKB;
    case 3: return kTexts.SizeUnitMB;
    case 4: return kTexts.SizeUnitGB;
    case 5: return kTexts.SizeUnitTB;
    default: return kTexts.SizeUnitPB;
  }
}

// How much of the number text is shown: its first five characters, but in the last unit
// every digit of the whole number (a number in exponent form whole), so that a size past
// 99999 PB is not cut to a smaller one.
std::int32_t ShownLength(const char* number, std::int32_t unit) {
  constexpr std::int32_t kShown = 5;
  if (unit < kLastUnit) return kShown;
  const std::int32_t length = ResultInt(CallCore(cmd::GetTextLength, {TextArg(number)}));
  if (ResultInt(CallCore(cmd::FindText, {TextArg(number), TextArg(kTexts.TextExponent)})) != -1) return length;
  const std::int32_t dot = ResultInt(CallCore(cmd::FindText, {TextArg(number), TextArg(kTexts.TextDot)}));
  const std::int32_t whole = dot == -1 ? length : dot - 1;
  return whole > kShown ? whole : kShown;
}

}  // namespace

runtime::Text FormatFileSize(double size) {
  // A page may carry a size that is no finite number ("1e999"): it counts as nothing.
  double v = std::isfinite(size) ? size : 0;
  std::int32_t unit = 1;
  while (v - 1024 >= -0.0000001 && unit < kLastUnit) {
    v = v / 1024;
    unit = unit + 1;
  }
  runtime::Text number = ResultText(CallCore(cmd::ToText, {runtime::DoubleArg(v)}));
  runtime::Text shown = ResultText(CallCore(cmd::TextLeft, {TextArg(number), IntArg(ShownLength(number, unit))}));
  FreeBlock(number);
  runtime::Text sized = ConcatTexts({shown, UnitName(unit)});
  FreeBlock(shown);
  return sized;
}

}  // namespace app
