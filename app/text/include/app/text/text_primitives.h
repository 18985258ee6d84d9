// The primitive text and array helpers that every procedure of the program uses: every
// equality test of two texts is CompareText equal to 0.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/values.h"

namespace app {

// -1, 0 or 1 by raw unsigned bytes; null counts as the empty text.
std::int32_t CompareText(const char* a, const char* b);
// Bytes before the NUL; 0 for null.
std::int32_t TextLength(const char* t);
// The pieces back to back in one new block, never null (an empty result holds only the NUL).
runtime::Text ConcatTexts(std::initializer_list<const char*> pieces);

// The product of the dimension sizes (0 for no dimensions); the array is not null.
std::int32_t ArrayElementCount(const void* array);
struct ArrayDataResult {
  unsigned char* elements;  // just behind the header; null for a null array
  std::int32_t count;
};
ArrayDataResult ArrayData(void* array);

}  // namespace app
