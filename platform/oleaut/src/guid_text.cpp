// Class-id strings: "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}".
#include <cstdio>

#include "oleaut/ole32.h"

namespace {

int HexValue(OLECHAR c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Reads `digits` hex digits at text[*at].
bool ReadHex(LPCOLESTR text, int* at, int digits, ULONGLONG* value) {
  *value = 0;
  for (int i = 0; i < digits; ++i) {
    const int v = HexValue(text[*at]);
    if (v < 0) return false;
    *value = *value * 16 + static_cast<ULONGLONG>(v);
    ++*at;
  }
  return true;
}

}  // namespace

HRESULT CLSIDFromString(LPCOLESTR text, LPCLSID clsid) {
  if (!clsid) return E_INVALIDARG;
  if (!text || text[0] == 0) {
    *clsid = CLSID_NULL;
    return S_OK;
  }
  // The 38 characters are checked one by one, so a short string stops at its NUL.
  GUID guid{};
  int at = 0;
  ULONGLONG v;
  if (text[at++] != u'{') return CO_E_CLASSSTRING;
  if (!ReadHex(text, &at, 8, &v) || text[at++] != u'-') return CO_E_CLASSSTRING;
  guid.Data1 = static_cast<DWORD>(v);
  if (!ReadHex(text, &at, 4, &v) || text[at++] != u'-') return CO_E_CLASSSTRING;
  guid.Data2 = static_cast<WORD>(v);
  if (!ReadHex(text, &at, 4, &v) || text[at++] != u'-') return CO_E_CLASSSTRING;
  guid.Data3 = static_cast<WORD>(v);
  for (int i = 0; i < 8; ++i) {
    if (i == 2 && text[at++] != u'-') return CO_E_CLASSSTRING;
    if (!ReadHex(text, &at, 2, &v)) return CO_E_CLASSSTRING;
    guid.Data4[i] = static_cast<BYTE>(v);
  }
  if (text[at++] != u'}' || text[at] != 0) return CO_E_CLASSSTRING;
  *clsid = guid;
  return S_OK;
}

INT StringFromGUID2(REFGUID guid, LPOLESTR buffer, INT size) {
  if (!buffer || size < 39) return 0;
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                guid.Data4[6], guid.Data4[7]);
  for (int i = 0; i < 39; ++i) buffer[i] = static_cast<OLECHAR>(text[i]);
  return 39;
}
