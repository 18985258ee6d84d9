// Values between the engine and VARIANTs.
#pragma once

#include "oleaut/variant.h"
#include "script/engine.h"

namespace script::detail {

// Into `out` (cleared first); objects become a new VT_DISPATCH.
HRESULT ToVariant(const Value& value, VARIANT& out);
// DISP_E_TYPEMISMATCH for what a script cannot take: arrays, records, objects that are
// not the script's own.
HRESULT FromVariant(const VARIANT& in, Value& value);

}  // namespace script::detail
