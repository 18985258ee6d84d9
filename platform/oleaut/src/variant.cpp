// Clearing and copying VARIANTs, and the setters that build them.
#include "oleaut/variant.h"

#include <cstring>

#include "oleaut/dispatch.h"
#include "oleaut/record_info.h"
#include "oleaut/safearray.h"
#include "variant_types.h"

using oleaut::detail::IsValidVariantType;

namespace {

void Zero(VARIANT* v) { std::memset(static_cast<void*>(v), 0, sizeof(VARIANT)); }

// A deep copy of a by-value source into *copy (which owns nothing yet).
HRESULT DeepCopy(const VARIANT& source, VARIANT* copy) {
  *copy = source;
  if (source.vt & VT_BYREF) return S_OK;
  if (source.vt & VT_ARRAY) {
    copy->parray = nullptr;
    HRESULT hr = SafeArrayCopy(source.parray, &copy->parray);
    if (FAILED(hr)) Zero(copy);
    return hr;
  }
  switch (source.vt) {
    case VT_BSTR:
      if (source.bstrVal) {
        copy->bstrVal = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(source.bstrVal),
                                              SysStringByteLen(source.bstrVal));
        if (!copy->bstrVal) {
          Zero(copy);
          return E_OUTOFMEMORY;
        }
      }
      return S_OK;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      if (source.punkVal) source.punkVal->AddRef();
      return S_OK;
    case VT_RECORD:
      if (source.brecord.pRecInfo) {
        copy->brecord.pvRecord = nullptr;
        if (source.brecord.pvRecord) {
          HRESULT hr = source.brecord.pRecInfo->RecordCreateCopy(source.brecord.pvRecord,
                                                                 &copy->brecord.pvRecord);
          if (FAILED(hr)) {
            Zero(copy);
            return hr;
          }
        }
        source.brecord.pRecInfo->AddRef();
      }
      return S_OK;
    default:
      return S_OK;
  }
}

}  // namespace

void VariantInit(VARIANT* v) {
  if (v) Zero(v);
}

HRESULT VariantClear(VARIANT* v) {
  if (!v) return E_INVALIDARG;
  if (!IsValidVariantType(v->vt)) return DISP_E_BADVARTYPE;
  if (!(v->vt & VT_BYREF)) {
    if (v->vt & VT_ARRAY) {
      HRESULT hr = SafeArrayDestroy(v->parray);
      if (FAILED(hr)) return hr;
    } else if (v->vt == VT_BSTR) {
      SysFreeString(v->bstrVal);
    } else if (v->vt == VT_DISPATCH || v->vt == VT_UNKNOWN) {
      if (v->punkVal) v->punkVal->Release();
    } else if (v->vt == VT_RECORD && v->brecord.pRecInfo) {
      if (v->brecord.pvRecord) v->brecord.pRecInfo->RecordDestroy(v->brecord.pvRecord);
      v->brecord.pRecInfo->Release();
    }
  }
  Zero(v);
  return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* source) {
  if (!dest || !source) return E_INVALIDARG;
  if (dest == source) return S_OK;
  if (!IsValidVariantType(source->vt)) return DISP_E_BADVARTYPE;
  VARIANT copy;
  HRESULT hr = DeepCopy(*source, &copy);
  if (FAILED(hr)) return hr;
  hr = VariantClear(dest);
  if (FAILED(hr)) {
    VariantClear(&copy);
    return hr;
  }
  *dest = copy;
  return S_OK;
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* source) {
  if (!dest || !source) return E_INVALIDARG;
  if (!IsValidVariantType(source->vt)) return DISP_E_BADVARTYPE;
  if (!(source->vt & VT_BYREF)) return VariantCopy(dest, source);

  VARIANT copy;
  HRESULT hr;
  if (source->vt == (VT_BYREF | VT_VARIANT)) {
    const VARIANT* inner = source->pvarVal;
    if (!inner || inner->vt == (VT_BYREF | VT_VARIANT)) return E_INVALIDARG;
    VariantInit(&copy);
    hr = VariantCopyInd(&copy, inner);
  } else {
    VARIANT shallow;
    hr = oleaut::detail::ReadThroughRef(*source, &shallow);
    if (SUCCEEDED(hr)) hr = DeepCopy(shallow, &copy);
  }
  if (FAILED(hr)) return hr;
  // Clearing a by-reference variant releases nothing, so dest == source is safe here.
  hr = VariantClear(dest);
  if (FAILED(hr)) {
    VariantClear(&copy);
    return hr;
  }
  *dest = copy;
  return S_OK;
}

namespace oleaut {

void SetEmpty(VARIANT& v) { VariantClear(&v); }

void SetNull(VARIANT& v) {
  VariantClear(&v);
  v.vt = VT_NULL;
}

void SetI4(VARIANT& v, LONG value) {
  VariantClear(&v);
  v.vt = VT_I4;
  v.lVal = value;
}

void SetR8(VARIANT& v, double value) {
  VariantClear(&v);
  v.vt = VT_R8;
  v.dblVal = value;
}

void SetBool(VARIANT& v, bool value) {
  VariantClear(&v);
  v.vt = VT_BOOL;
  v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void SetDate(VARIANT& v, DATE value) {
  VariantClear(&v);
  v.vt = VT_DATE;
  v.date = value;
}

void SetError(VARIANT& v, SCODE code) {
  VariantClear(&v);
  v.vt = VT_ERROR;
  v.scode = code;
}

void SetMissing(VARIANT& v) { SetError(v, DISP_E_PARAMNOTFOUND); }

HRESULT SetText(VARIANT& v, std::u16string_view text) {
  BSTR copy = AllocBstr(text);  // before clearing: text may be v's own string
  VariantClear(&v);
  if (!copy) return E_OUTOFMEMORY;
  v.vt = VT_BSTR;
  v.bstrVal = copy;
  return S_OK;
}

void SetDispatch(VARIANT& v, IDispatch* object) {
  if (object) object->AddRef();
  VariantClear(&v);
  v.vt = VT_DISPATCH;
  v.pdispVal = object;
}

void SetUnknown(VARIANT& v, IUnknown* object) {
  if (object) object->AddRef();
  VariantClear(&v);
  v.vt = VT_UNKNOWN;
  v.punkVal = object;
}

void SetArray(VARIANT& v, VARTYPE elementType, SAFEARRAY* array) {
  VariantClear(&v);
  v.vt = VT_ARRAY | elementType;
  v.parray = array;
}

bool IsMissing(const VARIANT& v) { return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND; }

void ClearExcepInfo(EXCEPINFO& info) {
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  std::memset(&info, 0, sizeof(info));
}

}  // namespace oleaut
