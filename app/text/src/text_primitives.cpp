#include "app/text/text_primitives.h"

#include <cstring>

#include "app/base/runtime_calls.h"

namespace app {

std::int32_t CompareText(const char* a, const char* b) {
  if (!a) return !b || *b == '\0' ? 0 : -1;
  if (!b) return *a == '\0' ? 0 : 1;
  const auto* x = reinterpret_cast<const unsigned char*>(a);
  const auto* y = reinterpret_cast<const unsigned char*>(b);
  for (;; ++x, ++y) {
    if (*x != *y) return *x < *y ? -1 : 1;
    if (*x == '\0') return 0;
  }
}

std::int32_t TextLength(const char* t) { return t ? static_cast<std::int32_t>(std::strlen(t)) : 0; }

runtime::Text ConcatTexts(std::initializer_list<const char*> pieces) {
  std::size_t total = 0;
  for (const char* piece : pieces) total += static_cast<std::size_t>(TextLength(piece));
  auto* joined = static_cast<char*>(Runtime().AllocBlock(static_cast<std::int32_t>(total + 1)));
  char* end = joined;
  for (const char* piece : pieces) {
    const auto n = static_cast<std::size_t>(TextLength(piece));
    if (n > 0) std::memcpy(end, piece, n);
    end += n;
  }
  *end = '\0';
  return joined;
}

std::int32_t ArrayElementCount(const void* array) {
  const std::int32_t dimensions = runtime::ArrayDimensions(array);
  if (dimensions == 0) return 0;
  std::int32_t count = 1;
  for (std::int32_t i = 0; i < dimensions; ++i) count *= runtime::ArrayDimensionSize(array, i);
  return count;
}

ArrayDataResult ArrayData(void* array) {
  if (!array) return {nullptr, 0};
  return {runtime::ArrayElements(array), ArrayElementCount(array)};
}

}  // namespace app
