#include "safearray_access.h"

namespace runtime::automation {

SAFEARRAY* ArrayOf(const VARIANT& v) {
  if (!(v.vt & VT_ARRAY)) return nullptr;
  if (v.vt & VT_BYREF) return v.pparray ? *v.pparray : nullptr;
  return v.parray;
}

bool SubscriptsOf(SAFEARRAY* array, long long index, std::vector<LONG>& subscripts) {
  UINT dims = SafeArrayGetDim(array);
  if (index < 1 || dims == 0) return false;
  subscripts.assign(dims, 0);
  long long rest = index - 1;
  for (UINT d = 0; d < dims; ++d) {
    LONG lower = 0, upper = 0;
    if (FAILED(SafeArrayGetLBound(array, d + 1, &lower)) || FAILED(SafeArrayGetUBound(array, d + 1, &upper))) {
      return false;
    }
    long long size = static_cast<long long>(upper) - lower + 1;
    if (size <= 0) return false;
    subscripts[d] = static_cast<LONG>(lower + rest % size);
    rest /= size;
  }
  return rest == 0;
}

bool GetElement(SAFEARRAY* array, long long index, VARIANT& element) {
  VariantInit(&element);
  std::vector<LONG> subscripts;
  VARTYPE vt = VT_EMPTY;
  if (!array || !SubscriptsOf(array, index, subscripts) || FAILED(SafeArrayGetVartype(array, &vt))) return false;
  if (vt == VT_VARIANT) return SUCCEEDED(SafeArrayGetElement(array, subscripts.data(), &element));
  if (SafeArrayGetElemsize(array) > sizeof element.llVal) return false;
  if (FAILED(SafeArrayGetElement(array, subscripts.data(), &element.llVal))) return false;
  element.vt = vt;
  return true;
}

bool PutElement(SAFEARRAY* array, long long index, VARIANT& value) {
  std::vector<LONG> subscripts;
  VARTYPE vt = VT_EMPTY;
  if (!array || !SubscriptsOf(array, index, subscripts) || FAILED(SafeArrayGetVartype(array, &vt))) return false;
  void* source = &value.llVal;
  if (vt == VT_VARIANT) source = &value;
  else if (vt == VT_BSTR) source = value.bstrVal;
  else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) source = value.punkVal;
  return SUCCEEDED(SafeArrayPutElement(array, subscripts.data(), source));
}

}  // namespace runtime::automation
