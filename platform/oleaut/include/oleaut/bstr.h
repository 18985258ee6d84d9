// BSTR: a length-prefixed UTF-16 string. The 32-bit byte length sits just before the
// characters and a NUL character follows them; a null BSTR is the empty string.
#pragma once

#include <string_view>

#include "oleaut/unknwn.h"

using BSTR = OLECHAR*;

// Null for a null text (SysAllocString) or when memory runs out.
BSTR SysAllocString(LPCOLESTR text);
// `length` characters, copied from `text` when it is not null (otherwise left zeroed).
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
// `length` bytes (which may be odd), copied from `bytes` when it is not null.
BSTR SysAllocStringByteLen(LPCSTR bytes, UINT length);
// Replace *target with a new copy; the old string is freed. FALSE when memory runs out.
INT SysReAllocString(BSTR* target, LPCOLESTR text);
INT SysReAllocStringLen(BSTR* target, const OLECHAR* text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);      // characters (bytes / 2, rounded down)
UINT SysStringByteLen(BSTR text);  // bytes

namespace oleaut {

// A new BSTR holding `text` (which may contain NULs).
BSTR AllocBstr(std::u16string_view text);
// The characters of a BSTR, NULs included; the empty view for null.
inline std::u16string_view BstrView(BSTR text) {
  return text ? std::u16string_view(text, SysStringLen(text)) : std::u16string_view();
}

}  // namespace oleaut
