#include "variant_types.h"

#include <cstring>

#include "oleaut/dispatch.h"
#include "oleaut/safearray.h"

namespace oleaut::detail {

bool IsPlainType(VARTYPE base) {
  switch (base) {
    case VT_EMPTY: case VT_NULL: case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_CY:
    case VT_DATE: case VT_BSTR: case VT_DISPATCH: case VT_ERROR: case VT_BOOL: case VT_UNKNOWN:
    case VT_DECIMAL: case VT_I1: case VT_UI1: case VT_UI2: case VT_UI4: case VT_I8: case VT_UI8:
    case VT_INT: case VT_UINT: case VT_RECORD:
      return true;
    default:
      return false;
  }
}

bool IsReferableType(VARTYPE base) {
  return base == VT_VARIANT || (IsPlainType(base) && base != VT_EMPTY && base != VT_NULL);
}

bool IsValidVariantType(VARTYPE vt) {
  if (vt & ~(VT_ARRAY | VT_BYREF | VT_TYPEMASK)) return false;
  const VARTYPE base = vt & VT_TYPEMASK;
  if (vt & (VT_ARRAY | VT_BYREF)) return IsReferableType(base);
  return IsPlainType(base);
}

ULONG ValueSize(VARTYPE base) {
  switch (base) {
    case VT_I1: case VT_UI1:
      return 1;
    case VT_I2: case VT_UI2: case VT_BOOL:
      return 2;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_R4: case VT_ERROR:
      return 4;
    case VT_R8: case VT_DATE: case VT_CY: case VT_I8: case VT_UI8:
      return 8;
    case VT_BSTR: case VT_DISPATCH: case VT_UNKNOWN:
      return sizeof(void*);
    case VT_VARIANT:
      return sizeof(VARIANT);
    default:
      return 0;
  }
}

HRESULT ReadThroughRef(const VARIANT& ref, VARIANT* shallow) {
  VariantInit(shallow);
  const VARTYPE target = ref.vt & ~VT_BYREF;
  if (!ref.byref) return E_INVALIDARG;
  if (target & VT_ARRAY) {
    shallow->vt = target;
    shallow->parray = *ref.pparray;
    return S_OK;
  }
  if (target == VT_RECORD) {  // the reference is the record itself
    *shallow = ref;
    shallow->vt = VT_RECORD;
    return S_OK;
  }
  const ULONG size = ValueSize(target);
  if (size == 0 || target == VT_VARIANT) return DISP_E_BADVARTYPE;
  shallow->vt = target;
  std::memcpy(&shallow->llVal, ref.byref, size);
  return S_OK;
}

void StoreThroughRef(const VARIANT& ref, VARIANT& value) {
  const VARTYPE target = ref.vt & ~VT_BYREF;
  if (target == VT_VARIANT) {
    VariantClear(ref.pvarVal);
    *ref.pvarVal = value;
  } else if (target & VT_ARRAY) {
    SafeArrayDestroy(*ref.pparray);
    *ref.pparray = value.parray;
  } else if (target == VT_BSTR) {
    SysFreeString(*ref.pbstrVal);
    *ref.pbstrVal = value.bstrVal;
  } else if (target == VT_DISPATCH || target == VT_UNKNOWN) {
    if (*ref.ppunkVal) (*ref.ppunkVal)->Release();
    *ref.ppunkVal = value.punkVal;
  } else if (target == VT_RECORD) {
    VariantClear(&value);  // records are not written back through a reference
  } else {
    std::memcpy(ref.byref, &value.llVal, ValueSize(target));
  }
  VariantInit(&value);
}

}  // namespace oleaut::detail
