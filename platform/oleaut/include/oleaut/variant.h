// VARIANT: the self-describing value of OLE Automation, with the functions that clear,
// copy and convert it. The layout is Windows' for a 64-bit process: a 16-bit type, three
// reserved words and a value of two pointers' size (24 bytes in all).
#pragma once

#include <string_view>

#include "oleaut/bstr.h"
#include "oleaut/errors.h"
#include "oleaut/locale.h"

struct IDispatch;
struct IRecordInfo;
struct SAFEARRAY;

using VARTYPE = USHORT;
using VARIANT_BOOL = SHORT;
using DATE = double;  // days since 1899-12-30; the fraction is the time of day

inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

enum VARENUM : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_CY = 6,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_DECIMAL = 14,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
  VT_VOID = 24,
  VT_HRESULT = 25,
  VT_PTR = 26,
  VT_SAFEARRAY = 27,
  VT_CARRAY = 28,
  VT_USERDEFINED = 29,
  VT_LPSTR = 30,
  VT_LPWSTR = 31,
  VT_RECORD = 36,
  VT_INT_PTR = 37,
  VT_UINT_PTR = 38,
  VT_ARRAY = 0x2000,
  VT_BYREF = 0x4000,
  VT_TYPEMASK = 0x0FFF,
};

// Currency: a 64-bit integer scaled by 10000.
union CY {
  LONGLONG int64;
};

struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    LONG lVal;
    BYTE bVal;
    SHORT iVal;
    float fltVal;
    double dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    CY cyVal;
    DATE date;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    SAFEARRAY* parray;
    BYTE* pbVal;
    SHORT* piVal;
    LONG* plVal;
    LONGLONG* pllVal;
    float* pfltVal;
    double* pdblVal;
    VARIANT_BOOL* pboolVal;
    SCODE* pscode;
    CY* pcyVal;
    DATE* pdate;
    BSTR* pbstrVal;
    IUnknown** ppunkVal;
    IDispatch** ppdispVal;
    SAFEARRAY** pparray;
    VARIANT* pvarVal;
    void* byref;
    CHAR cVal;
    USHORT uiVal;
    ULONG ulVal;
    ULONGLONG ullVal;
    INT intVal;
    UINT uintVal;
    CHAR* pcVal;
    USHORT* puiVal;
    ULONG* pulVal;
    ULONGLONG* pullVal;
    INT* pintVal;
    UINT* puintVal;
    struct {
      void* pvRecord;
      IRecordInfo* pRecInfo;
    } brecord;
  };
};
using VARIANTARG = VARIANT;
using LPVARIANT = VARIANT*;

// Flags of VariantChangeType(Ex).
inline constexpr USHORT VARIANT_NOVALUEPROP = 0x01;  // do not ask an object for its value
inline constexpr USHORT VARIANT_ALPHABOOL = 0x02;    // booleans as "True" / "False"
inline constexpr USHORT VARIANT_NOUSEROVERRIDE = 0x04;
inline constexpr USHORT VARIANT_CALENDAR_HIJRI = 0x08;
inline constexpr USHORT VARIANT_LOCALBOOL = 0x10;  // booleans as words of the locale
inline constexpr USHORT VARIANT_CALENDAR_THAI = 0x20;
inline constexpr USHORT VARIANT_CALENDAR_GREGORIAN = 0x40;
inline constexpr USHORT VARIANT_USE_NLS = 0x80;

void VariantInit(VARIANT* v);
// Releases what the variant owns (BSTR, interface, array, record) and leaves VT_EMPTY.
// DISP_E_BADVARTYPE for an unknown type, DISP_E_ARRAYISLOCKED for a locked array; the
// variant is then unchanged.
HRESULT VariantClear(VARIANT* v);
// dest = a deep copy of source (dest cleared first); references (VT_BYREF) are copied as
// references.
HRESULT VariantCopy(VARIANT* dest, const VARIANT* source);
// As VariantCopy, but a reference is replaced by a copy of what it refers to.
HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* source);
// Converts source to type vt into dest (dest may be source). Texts are read and written in
// the form of the user's default locale (VariantChangeType) or of `lcid`.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* source, USHORT flags, VARTYPE vt);
HRESULT VariantChangeTypeEx(VARIANT* dest, const VARIANT* source, LCID lcid, USHORT flags,
                            VARTYPE vt);

namespace oleaut {

// Setters for building values: each clears the target first.
void SetEmpty(VARIANT& v);
void SetNull(VARIANT& v);
void SetI4(VARIANT& v, LONG value);
void SetR8(VARIANT& v, double value);
void SetBool(VARIANT& v, bool value);
void SetDate(VARIANT& v, DATE value);
void SetError(VARIANT& v, SCODE code);
void SetMissing(VARIANT& v);  // VT_ERROR DISP_E_PARAMNOTFOUND: an omitted optional argument
HRESULT SetText(VARIANT& v, std::u16string_view text);  // E_OUTOFMEMORY when no BSTR
void SetDispatch(VARIANT& v, IDispatch* object);  // takes a new reference
void SetUnknown(VARIANT& v, IUnknown* object);    // takes a new reference
void SetArray(VARIANT& v, VARTYPE elementType, SAFEARRAY* array);  // adopts the array

bool IsMissing(const VARIANT& v);

// An owned VARIANT, cleared when it goes away.
class OwnedVariant {
 public:
  OwnedVariant() { VariantInit(&v_); }
  OwnedVariant(const OwnedVariant& other) : OwnedVariant() { VariantCopy(&v_, &other.v_); }
  OwnedVariant(OwnedVariant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
  OwnedVariant& operator=(const OwnedVariant& other) {
    if (this != &other) VariantCopy(&v_, &other.v_);
    return *this;
  }
  OwnedVariant& operator=(OwnedVariant&& other) noexcept {
    if (this != &other) {
      VariantClear(&v_);
      v_ = other.v_;
      VariantInit(&other.v_);
    }
    return *this;
  }
  ~OwnedVariant() { VariantClear(&v_); }

  static OwnedVariant Copy(const VARIANT& value) {
    OwnedVariant result;
    VariantCopy(&result.v_, &value);
    return result;
  }
  static OwnedVariant I4(LONG value) {
    OwnedVariant result;
    SetI4(result.v_, value);
    return result;
  }
  static OwnedVariant R8(double value) {
    OwnedVariant result;
    SetR8(result.v_, value);
    return result;
  }
  static OwnedVariant Bool(bool value) {
    OwnedVariant result;
    SetBool(result.v_, value);
    return result;
  }
  static OwnedVariant Text(std::u16string_view value) {
    OwnedVariant result;
    SetText(result.v_, value);
    return result;
  }

  VARIANT* get() { return &v_; }
  const VARIANT* get() const { return &v_; }
  VARIANT& operator*() { return v_; }
  const VARIANT& operator*() const { return v_; }
  VARIANT* operator->() { return &v_; }
  const VARIANT* operator->() const { return &v_; }

 private:
  VARIANT v_;
};

}  // namespace oleaut
