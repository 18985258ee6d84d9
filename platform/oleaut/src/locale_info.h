// What the conversions need to know about a locale.
#pragma once

#include "oleaut/locale.h"

namespace oleaut::detail {

struct LocaleInfo {
  char16_t decimalSeparator;
  char16_t thousandsSeparator;
  bool gbk;  // ANSI code page 936
};

LocaleInfo LocaleInfoOf(LCID lcid);

}  // namespace oleaut::detail
