// Reading and writing the elements of a SAFEARRAY held by a Variant, by 1-based flat index.
#pragma once

#include <vector>

#include "oleaut/safearray.h"

namespace runtime::automation {

// The array a VARIANT holds (directly or by reference), or null.
SAFEARRAY* ArrayOf(const VARIANT& v);

// Splits a 1-based flat index over the dimensions, the first dimension varying fastest;
// false when the index lies outside the array.
bool SubscriptsOf(SAFEARRAY* array, long long index, std::vector<LONG>& subscripts);

// The element as a VARIANT of the array's element type (a copy the caller owns).
bool GetElement(SAFEARRAY* array, long long index, VARIANT& element);
// Stores a copy of `value`, which has the array's element type (or is a VARIANT for a
// VARIANT array).
bool PutElement(SAFEARRAY* array, long long index, VARIANT& value);

}  // namespace runtime::automation
