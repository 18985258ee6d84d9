#include "iconv_converters.h"

#include <bit>

namespace codepage {
namespace {

// UTF-16 in the machine's own byte order, the layout of char16_t, and without a byte-order mark.
constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
constexpr const char* kGbk = "CP936";

struct ThreadConverters {
  iconv_t toUtf16 = iconv_open(kUtf16, kGbk);
  iconv_t fromUtf16 = iconv_open(kGbk, kUtf16);

  ThreadConverters() = default;
  ThreadConverters(const ThreadConverters&) = delete;
  ThreadConverters& operator=(const ThreadConverters&) = delete;
  ~ThreadConverters() {
    if (toUtf16 != kNoConverter) iconv_close(toUtf16);
    if (fromUtf16 != kNoConverter) iconv_close(fromUtf16);
  }
};

ThreadConverters& Converters() {
  thread_local ThreadConverters converters;
  return converters;
}

}  // namespace

iconv_t GbkToUtf16Converter() { return Converters().toUtf16; }
iconv_t Utf16ToGbkConverter() { return Converters().fromUtf16; }

}  // namespace codepage
