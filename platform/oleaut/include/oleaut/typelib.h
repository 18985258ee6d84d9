// Type libraries on disk, their registration, and the name hash that binding takes.
//
// A type-library file here is a text file in Panlift's own format (see
// oleaut/typelib_text.h); paths may use "\" or "/" as separators.
#pragma once

#include <string>
#include <string_view>

#include "oleaut/typeinfo.h"

// TYPE_E_CANTLOADLIBRARY when the file cannot be read or is not a type library.
HRESULT LoadTypeLib(LPCOLESTR file, ITypeLib** lib);
// Records the library (its id, version and locale) under a full path; E_INVALIDARG
// without one.
HRESULT RegisterTypeLib(ITypeLib* lib, LPCOLESTR fullPath, LPCOLESTR helpDir);
HRESULT UnRegisterTypeLib(REFGUID libid, WORD major, WORD minor, LCID lcid, SYSKIND syskind);
// TYPE_E_LIBNOTREGISTERED when no such library was registered.
HRESULT QueryPathOfRegTypeLib(REFGUID libid, WORD major, WORD minor, LCID lcid, BSTR* path);
HRESULT LoadRegTypeLib(REFGUID libid, WORD major, WORD minor, LCID lcid, ITypeLib** lib);

// The hash of a name for ITypeComp::Bind and ITypeLib::FindName: the name's bytes in the
// locale's ANSI code page, folded by the locale's table; the high word carries the
// locale's table number (plus 1 for SYS_MAC). 0 for a null name.
ULONG LHashValOfNameSysA(SYSKIND syskind, LCID lcid, LPCSTR name);
ULONG LHashValOfNameSys(SYSKIND syskind, LCID lcid, LPCOLESTR name);
inline ULONG LHashValOfName(LCID lcid, LPCOLESTR name) {
  return LHashValOfNameSys(SYS_WIN32, lcid, name);
}
inline constexpr WORD WHashValOfLHashVal(ULONG hash) { return static_cast<WORD>(hash & 0xFFFF); }
