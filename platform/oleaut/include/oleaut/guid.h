// GUIDs: class ids, interface ids and type-library ids, laid out as Windows lays them out.
#pragma once

#include <cstring>

#include "win/types.h"

struct GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using LPCLSID = CLSID*;

inline bool IsEqualGUID(REFGUID a, REFGUID b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool IsEqualIID(REFIID a, REFIID b) { return IsEqualGUID(a, b); }
inline bool IsEqualCLSID(REFCLSID a, REFCLSID b) { return IsEqualGUID(a, b); }
inline bool operator==(REFGUID a, REFGUID b) { return IsEqualGUID(a, b); }

inline constexpr GUID GUID_NULL{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr IID IID_NULL = GUID_NULL;
inline constexpr CLSID CLSID_NULL = GUID_NULL;

// The interface ids of OLE, all of the form {000xxxxx-0000-0000-C000-000000000046}.
inline constexpr GUID MakeOleGuid(DWORD data1) {
  return GUID{data1, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
}
inline constexpr IID IID_IUnknown = MakeOleGuid(0x00000000);
inline constexpr IID IID_IClassFactory = MakeOleGuid(0x00000001);
inline constexpr IID IID_IRunnableObject = MakeOleGuid(0x00000126);
inline constexpr IID IID_IRecordInfo = MakeOleGuid(0x0000002F);
inline constexpr IID IID_IDispatch = MakeOleGuid(0x00020400);
inline constexpr IID IID_ITypeInfo = MakeOleGuid(0x00020401);
inline constexpr IID IID_ITypeLib = MakeOleGuid(0x00020402);
inline constexpr IID IID_ITypeComp = MakeOleGuid(0x00020403);
