// The iconv descriptors between code page 936 and UTF-16, opened once per thread (iconv
// descriptors carry state and must not be shared between threads).
#pragma once

#include <iconv.h>

namespace codepage {

inline const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// kNoConverter when the system has no converter for code page 936.
iconv_t GbkToUtf16Converter();
iconv_t Utf16ToGbkConverter();

}  // namespace codepage
