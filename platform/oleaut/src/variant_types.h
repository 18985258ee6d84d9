// Which VARTYPEs a VARIANT or a SAFEARRAY may hold, how big their values are, and how a
// value is read or stored through a VT_BYREF reference.
#pragma once

#include "oleaut/variant.h"

namespace oleaut::detail {

// A base type (no flags) that a VARIANT may hold by value.
bool IsPlainType(VARTYPE base);
// A base type that may stand after VT_BYREF or VT_ARRAY (VT_VARIANT included).
bool IsReferableType(VARTYPE base);
// The whole vt of a VARIANT, flags included.
bool IsValidVariantType(VARTYPE vt);
// Bytes of one value of a base type as an array element or a by-reference target; 0 for
// types that have no such size (VT_EMPTY, VT_NULL, VT_RECORD...).
ULONG ValueSize(VARTYPE base);

// A by-reference VARIANT (not VT_BYREF|VT_VARIANT) read into a plain one that shares the
// referred-to value (nothing copied, nothing owned). E_INVALIDARG for a null reference.
HRESULT ReadThroughRef(const VARIANT& ref, VARIANT* shallow);
// Moves `value` (whose vt is the reference's base type, or any type for a reference to a
// VARIANT) into the referred-to variable, releasing what the variable held.
void StoreThroughRef(const VARIANT& ref, VARIANT& value);

}  // namespace oleaut::detail
