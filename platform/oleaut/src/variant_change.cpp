// VariantChangeType(Ex): every conversion between the VARIANT types that has one.
//
// Numbers convert to numbers with range checks (DISP_E_OVERFLOW) and rounding half to
// even; texts are read and written in the locale's form (number_text.h, date_text.h);
// an object converts through its default value (DISPID_VALUE, property get).
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "date_text.h"
#include "locale_info.h"
#include "locale_number_text.h"
#include "oleaut/dispatch.h"
#include "oleaut/safearray.h"
#include "oleaut/variant.h"
#include "variant_types.h"
#include "win/ascii_case.h"

namespace {

using namespace oleaut::detail;

constexpr int kMaxValueDepth = 8;  // objects whose value is an object whose value is...

enum class NumKind { kSigned, kUnsigned, kReal, kCurrency };

struct Number {
  NumKind kind = NumKind::kSigned;
  std::int64_t i = 0;  // kSigned, kCurrency (scaled by 10000)
  std::uint64_t u = 0;
  double r = 0;
  bool fromBool = false;
};

bool IsIntegerType(VARTYPE vt) {
  switch (vt) {
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_INT:
    case VT_UINT: case VT_I8: case VT_UI8:
      return true;
    default:
      return false;
  }
}

bool IsNumericType(VARTYPE vt) {
  return IsIntegerType(vt) || vt == VT_R4 || vt == VT_R8 || vt == VT_DATE || vt == VT_CY ||
         vt == VT_BOOL;
}

bool ReadNumber(const VARIANT& v, Number* n) {
  *n = Number{};
  switch (v.vt) {
    case VT_EMPTY: n->i = 0; return true;
    case VT_I1: n->i = v.cVal; return true;
    case VT_I2: n->i = v.iVal; return true;
    case VT_I4: n->i = v.lVal; return true;
    case VT_INT: n->i = v.intVal; return true;
    case VT_I8: n->i = v.llVal; return true;
    case VT_BOOL: n->i = v.boolVal; n->fromBool = true; return true;
    case VT_UI1: n->kind = NumKind::kUnsigned; n->u = v.bVal; return true;
    case VT_UI2: n->kind = NumKind::kUnsigned; n->u = v.uiVal; return true;
    case VT_UI4: n->kind = NumKind::kUnsigned; n->u = v.ulVal; return true;
    case VT_UINT: n->kind = NumKind::kUnsigned; n->u = v.uintVal; return true;
    case VT_UI8: n->kind = NumKind::kUnsigned; n->u = v.ullVal; return true;
    case VT_R4: n->kind = NumKind::kReal; n->r = v.fltVal; return true;
    case VT_R8: n->kind = NumKind::kReal; n->r = v.dblVal; return true;
    case VT_DATE: n->kind = NumKind::kReal; n->r = v.date; return true;
    case VT_CY: n->kind = NumKind::kCurrency; n->i = v.cyVal.int64; return true;
    default: return false;
  }
}

struct IntRange {
  bool isSigned;
  std::int64_t lo;
  std::uint64_t hi;
  int bits;
};

IntRange RangeOf(VARTYPE vt) {
  switch (vt) {
    case VT_I1: return {true, INT8_MIN, INT8_MAX, 8};
    case VT_UI1: return {false, 0, UINT8_MAX, 8};
    case VT_I2: return {true, INT16_MIN, INT16_MAX, 16};
    case VT_UI2: return {false, 0, UINT16_MAX, 16};
    case VT_I4: case VT_INT: return {true, INT32_MIN, INT32_MAX, 32};
    case VT_UI4: case VT_UINT: return {false, 0, UINT32_MAX, 32};
    case VT_I8: return {true, INT64_MIN, INT64_MAX, 64};
    default: return {false, 0, UINT64_MAX, 64};  // VT_UI8
  }
}

// Stores the low bits of `bits` as a value of integer type vt.
void StoreInteger(VARIANT* out, VARTYPE vt, std::uint64_t bits) {
  VariantInit(out);
  out->vt = vt;
  switch (RangeOf(vt).bits) {
    case 8: out->bVal = static_cast<BYTE>(bits); break;
    case 16: out->uiVal = static_cast<USHORT>(bits); break;
    case 32: out->ulVal = static_cast<ULONG>(bits); break;
    default: out->ullVal = bits; break;
  }
}

// A signed or unsigned magnitude checked against the range of vt.
HRESULT StoreChecked(VARIANT* out, VARTYPE vt, bool negative, std::uint64_t magnitude) {
  const IntRange range = RangeOf(vt);
  if (negative && magnitude != 0) {
    if (!range.isSigned) return DISP_E_OVERFLOW;
    const std::uint64_t limit = static_cast<std::uint64_t>(-(range.lo + 1)) + 1;
    if (magnitude > limit) return DISP_E_OVERFLOW;
    StoreInteger(out, vt, 0 - magnitude);
    return S_OK;
  }
  if (magnitude > range.hi) return DISP_E_OVERFLOW;
  StoreInteger(out, vt, magnitude);
  return S_OK;
}

HRESULT NumberToInteger(const Number& n, VARTYPE vt, VARIANT* out) {
  switch (n.kind) {
    case NumKind::kSigned:
      if (n.fromBool && !RangeOf(vt).isSigned) {  // True is all bits set
        StoreInteger(out, vt, static_cast<std::uint64_t>(n.i));
        return S_OK;
      }
      return StoreChecked(out, vt, n.i < 0,
                          n.i < 0 ? 0 - static_cast<std::uint64_t>(n.i)
                                  : static_cast<std::uint64_t>(n.i));
    case NumKind::kUnsigned:
      return StoreChecked(out, vt, false, n.u);
    case NumKind::kCurrency: {
      std::int64_t q = n.i / 10000;
      const std::int64_t rem = n.i % 10000;
      const std::int64_t step = rem < 0 ? -1 : 1;
      const std::int64_t absRem = rem < 0 ? -rem : rem;
      if (absRem > 5000 || (absRem == 5000 && (q & 1))) q += step;
      return StoreChecked(out, vt, q < 0,
                          q < 0 ? 0 - static_cast<std::uint64_t>(q) : static_cast<std::uint64_t>(q));
    }
    case NumKind::kReal: {
      if (!std::isfinite(n.r)) return DISP_E_OVERFLOW;
      const double rounded = std::nearbyint(n.r);  // the default mode rounds half to even
      const double magnitude = std::fabs(rounded);
      if (magnitude >= 18446744073709551616.0) return DISP_E_OVERFLOW;
      return StoreChecked(out, vt, rounded < 0, static_cast<std::uint64_t>(magnitude));
    }
  }
  return DISP_E_TYPEMISMATCH;
}

double NumberToDouble(const Number& n) {
  switch (n.kind) {
    case NumKind::kSigned: return static_cast<double>(n.i);
    case NumKind::kUnsigned: return static_cast<double>(n.u);
    case NumKind::kCurrency: return static_cast<double>(n.i) / 10000.0;
    case NumKind::kReal: return n.r;
  }
  return 0;
}

HRESULT StoreReal(VARIANT* out, VARTYPE vt, double value) {
  VariantInit(out);
  if (vt == VT_R4) {
    if (std::isfinite(value) && std::fabs(value) > FLT_MAX) return DISP_E_OVERFLOW;
    out->vt = VT_R4;
    out->fltVal = static_cast<float>(value);
  } else if (vt == VT_DATE) {
    if (!IsValidDate(value)) return DISP_E_OVERFLOW;
    out->vt = VT_DATE;
    out->date = value;
  } else {
    if (std::isinf(value)) return DISP_E_OVERFLOW;
    out->vt = VT_R8;
    out->dblVal = value;
  }
  return S_OK;
}

constexpr double kCurrencyLimit = 9223372036854775807.0;

HRESULT StoreCurrency(VARIANT* out, const Number& n) {
  std::int64_t scaled;
  if (n.kind == NumKind::kCurrency) {
    scaled = n.i;
  } else if (n.kind == NumKind::kReal) {
    if (!std::isfinite(n.r)) return DISP_E_OVERFLOW;
    const double value = std::nearbyint(n.r * 10000.0);
    if (std::fabs(value) >= kCurrencyLimit) return DISP_E_OVERFLOW;
    scaled = static_cast<std::int64_t>(value);
  } else if (n.kind == NumKind::kUnsigned) {
    if (n.u > static_cast<std::uint64_t>(INT64_MAX / 10000)) return DISP_E_OVERFLOW;
    scaled = static_cast<std::int64_t>(n.u) * 10000;
  } else {
    if (n.i > INT64_MAX / 10000 || n.i < INT64_MIN / 10000) return DISP_E_OVERFLOW;
    scaled = n.i * 10000;
  }
  VariantInit(out);
  out->vt = VT_CY;
  out->cyVal.int64 = scaled;
  return S_OK;
}

HRESULT StoreText(VARIANT* out, std::u16string_view text) {
  VariantInit(out);
  BSTR copy = oleaut::AllocBstr(text);
  if (!copy) return E_OUTOFMEMORY;
  out->vt = VT_BSTR;
  out->bstrVal = copy;
  return S_OK;
}

HRESULT NumberToTarget(const Number& n, const VARIANT& source, VARTYPE vt, USHORT flags,
                       const LocaleInfo& locale, VARIANT* out) {
  if (IsIntegerType(vt)) return NumberToInteger(n, vt, out);
  switch (vt) {
    case VT_R4:
    case VT_R8:
    case VT_DATE:
      return StoreReal(out, vt, NumberToDouble(n));
    case VT_CY:
      return StoreCurrency(out, n);
    case VT_BOOL: {
      const bool truth = n.kind == NumKind::kReal ? n.r != 0
                         : n.kind == NumKind::kUnsigned ? n.u != 0
                                                        : n.i != 0;
      VariantInit(out);
      out->vt = VT_BOOL;
      out->boolVal = truth ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    }
    case VT_BSTR:
      switch (source.vt) {
        case VT_EMPTY: return StoreText(out, u"");
        case VT_BOOL:
          if (flags & (VARIANT_ALPHABOOL | VARIANT_LOCALBOOL)) {
            return StoreText(out, source.boolVal ? u"True" : u"False");
          }
          break;
        case VT_R4: return StoreText(out, FormatReal(source.fltVal, 7, locale));
        case VT_R8: return StoreText(out, FormatReal(source.dblVal, 15, locale));
        case VT_CY: return StoreText(out, FormatCurrency(source.cyVal.int64, locale));
        case VT_DATE: {
          std::u16string text;
          if (!FormatDate(source.date, &text)) return E_INVALIDARG;
          return StoreText(out, text);
        }
        default: break;
      }
      {
        const std::string digits =
            n.kind == NumKind::kUnsigned ? std::to_string(n.u) : std::to_string(n.i);
        return StoreText(out, std::u16string(digits.begin(), digits.end()));
      }
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
  return text;
}

HRESULT TextToTarget(BSTR text, VARTYPE vt, const LocaleInfo& locale, VARIANT* out) {
  if (!text) return DISP_E_TYPEMISMATCH;
  const std::u16string_view view = oleaut::BstrView(text);
  if (vt == VT_DATE) {
    DATE date;
    if (!ParseDate(view, &date)) return DISP_E_TYPEMISMATCH;
    VariantInit(out);
    out->vt = VT_DATE;
    out->date = date;
    return S_OK;
  }
  if (vt == VT_BOOL) {
    const std::u16string_view word = Trim(view);
    int truth = -1;
    if (word == u"#TRUE#" || ascii::EqualsIgnoreCase(word, u"true")) truth = 1;
    if (word == u"#FALSE#" || ascii::EqualsIgnoreCase(word, u"false")) truth = 0;
    if (truth < 0) {
      ParsedNumber number;
      if (!ParseNumberText(view, locale, &number)) return DISP_E_TYPEMISMATCH;
      truth = number.digits.empty() ? 0 : 1;
    }
    VariantInit(out);
    out->vt = VT_BOOL;
    out->boolVal = truth ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  ParsedNumber number;
  if (!ParseNumberText(view, locale, &number)) return DISP_E_TYPEMISMATCH;
  if (IsIntegerType(vt)) {
    bool negative;
    std::uint64_t magnitude;
    if (!RoundToInteger(number, &negative, &magnitude)) return DISP_E_OVERFLOW;
    return StoreChecked(out, vt, negative, magnitude);
  }
  if (vt == VT_CY) {
    ParsedNumber scaled = number;
    scaled.exponent += 4;
    bool negative;
    std::uint64_t magnitude;
    if (!RoundToInteger(scaled, &negative, &magnitude)) return DISP_E_OVERFLOW;
    VARIANT wide;
    HRESULT hr = StoreChecked(&wide, VT_I8, negative, magnitude);
    if (FAILED(hr)) return hr;
    VariantInit(out);
    out->vt = VT_CY;
    out->cyVal.int64 = wide.llVal;
    return S_OK;
  }
  if (vt == VT_R4 || vt == VT_R8) return StoreReal(out, vt, ToDouble(number));
  return DISP_E_TYPEMISMATCH;
}

// Bytes of a VT_UI1 array as a BSTR and back.
HRESULT BytesToText(SAFEARRAY* array, VARIANT* out) {
  const ULONG count = oleaut::SafeArrayElementCount(array);
  BSTR text = SysAllocStringByteLen(array ? static_cast<LPCSTR>(array->pvData) : nullptr, count);
  if (!text) return E_OUTOFMEMORY;
  VariantInit(out);
  out->vt = VT_BSTR;
  out->bstrVal = text;
  return S_OK;
}

HRESULT TextToBytes(BSTR text, VARIANT* out) {
  const UINT count = SysStringByteLen(text);
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, count);
  if (!array) return E_OUTOFMEMORY;
  if (count) std::memcpy(array->pvData, text, count);
  VariantInit(out);
  out->vt = VT_ARRAY | VT_UI1;
  out->parray = array;
  return S_OK;
}

HRESULT Convert(const VARIANT& from, LCID lcid, USHORT flags, VARTYPE vt, VARIANT* out,
                int depth);

HRESULT ObjectToTarget(IUnknown* object, LCID lcid, USHORT flags, VARTYPE vt, VARIANT* out,
                       int depth) {
  if (!object || (flags & VARIANT_NOVALUEPROP) || depth >= kMaxValueDepth) {
    return DISP_E_TYPEMISMATCH;
  }
  IDispatch* dispatch = nullptr;
  if (FAILED(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))) ||
      !dispatch) {
    return DISP_E_TYPEMISMATCH;
  }
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT value;
  VariantInit(&value);
  HRESULT hr = dispatch->Invoke(DISPID_VALUE, IID_NULL, lcid, DISPATCH_PROPERTYGET, &none,
                                &value, nullptr, nullptr);
  dispatch->Release();
  if (FAILED(hr)) {
    VariantClear(&value);
    return DISP_E_TYPEMISMATCH;
  }
  hr = Convert(value, lcid, flags, vt, out, depth + 1);
  VariantClear(&value);
  return hr;
}

HRESULT InterfaceToInterface(IUnknown* object, VARTYPE vt, VARIANT* out) {
  VariantInit(out);
  out->vt = vt;
  if (!object) return S_OK;
  const IID& iid = vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown;
  void* result = nullptr;
  if (FAILED(object->QueryInterface(iid, &result)) || !result) {
    VariantInit(out);
    return DISP_E_TYPEMISMATCH;
  }
  out->byref = result;
  return S_OK;
}

bool IsTargetType(VARTYPE vt) {
  if (vt & VT_BYREF) return false;
  if (vt & VT_ARRAY) return IsValidVariantType(vt);
  return IsPlainType(vt);
}

// `from` holds no reference; *out receives a new value that it owns.
HRESULT Convert(const VARIANT& from, LCID lcid, USHORT flags, VARTYPE vt, VARIANT* out,
                int depth) {
  VariantInit(out);
  if (vt == VT_EMPTY) return S_OK;
  if (from.vt == VT_DECIMAL || vt == VT_DECIMAL) return DISP_E_BADVARTYPE;
  if (from.vt == vt) return VariantCopy(out, &from);
  if (from.vt == VT_RECORD || vt == VT_RECORD) return DISP_E_TYPEMISMATCH;

  if (vt & VT_ARRAY) {
    // Only text becomes an array (of its bytes); empty does not: no array type has an
    // empty value to give.
    if (vt == (VT_ARRAY | VT_UI1) && from.vt == VT_BSTR) return TextToBytes(from.bstrVal, out);
    return DISP_E_TYPEMISMATCH;
  }
  if (from.vt & VT_ARRAY) {
    if (from.vt == (VT_ARRAY | VT_UI1) && vt == VT_BSTR) return BytesToText(from.parray, out);
    return DISP_E_TYPEMISMATCH;
  }
  if (vt == VT_NULL) {
    if (from.vt != VT_EMPTY) return DISP_E_TYPEMISMATCH;
    out->vt = VT_NULL;
    return S_OK;
  }
  if (from.vt == VT_NULL || from.vt == VT_ERROR) return DISP_E_TYPEMISMATCH;

  if (vt == VT_DISPATCH || vt == VT_UNKNOWN) {
    if (from.vt == VT_EMPTY) return InterfaceToInterface(nullptr, vt, out);
    if (from.vt == VT_DISPATCH || from.vt == VT_UNKNOWN) {
      return InterfaceToInterface(from.punkVal, vt, out);
    }
    return DISP_E_TYPEMISMATCH;
  }
  if (from.vt == VT_DISPATCH || from.vt == VT_UNKNOWN) {
    return ObjectToTarget(from.punkVal, lcid, flags, vt, out, depth);
  }
  if (vt == VT_ERROR) {
    if (from.vt != VT_EMPTY) return DISP_E_TYPEMISMATCH;
    out->vt = VT_ERROR;
    return S_OK;
  }

  const LocaleInfo locale = LocaleInfoOf(lcid);
  if (from.vt == VT_BSTR) return TextToTarget(from.bstrVal, vt, locale, out);
  Number number;
  if (IsNumericType(from.vt) || from.vt == VT_EMPTY) {
    ReadNumber(from, &number);
    return NumberToTarget(number, from, vt, flags, locale, out);
  }
  return DISP_E_TYPEMISMATCH;
}

}  // namespace

HRESULT VariantChangeTypeEx(VARIANT* dest, const VARIANT* source, LCID lcid, USHORT flags,
                            VARTYPE vt) {
  if (!dest || !source) return E_INVALIDARG;
  if (!IsValidVariantType(source->vt) || !IsTargetType(vt)) return DISP_E_BADVARTYPE;

  // Read through a reference without copying: Convert copies what it keeps.
  const VARIANT* from = source;
  VARIANT shallow;
  if (source->vt == (VT_BYREF | VT_VARIANT)) {
    from = source->pvarVal;
    if (!from || from->vt == (VT_BYREF | VT_VARIANT)) return E_INVALIDARG;
    if (!IsValidVariantType(from->vt)) return DISP_E_BADVARTYPE;
  }
  if (from->vt & VT_BYREF) {
    HRESULT hr = ReadThroughRef(*from, &shallow);
    if (FAILED(hr)) return hr;
    from = &shallow;
  }

  VARIANT result;
  HRESULT hr = Convert(*from, lcid, flags, vt, &result, 0);
  if (FAILED(hr)) return hr;
  hr = VariantClear(dest);
  if (FAILED(hr)) {
    VariantClear(&result);
    return hr;
  }
  *dest = result;
  return S_OK;
}

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* source, USHORT flags, VARTYPE vt) {
  return VariantChangeTypeEx(dest, source, GetUserDefaultLCID(), flags, vt);
}
