// SAFEARRAYs. Each descriptor sits in a block after a 16-byte prefix whose last four bytes
// hold the element type (FADF_HAVEVARTYPE); the data is a separate zeroed block.
#include "oleaut/safearray.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "oleaut/dispatch.h"
#include "variant_types.h"

namespace {

constexpr std::size_t kPrefix = 16;
constexpr ULONG kMaxLocks = 65535;

SAFEARRAYBOUND* Bounds(SAFEARRAY* array) { return array->rgsabound; }
const SAFEARRAYBOUND* Bounds(const SAFEARRAY* array) { return array->rgsabound; }

unsigned char* BlockOf(SAFEARRAY* array) {
  return reinterpret_cast<unsigned char*>(array) - kPrefix;
}

VARTYPE StoredType(SAFEARRAY* array) {
  DWORD vt;
  std::memcpy(&vt, BlockOf(array) + kPrefix - 4, 4);
  return static_cast<VARTYPE>(vt);
}

bool IsElementType(VARTYPE vt) {
  return vt != VT_DECIMAL && oleaut::detail::ValueSize(vt) != 0;
}

USHORT FeaturesOf(VARTYPE vt) {
  switch (vt) {
    case VT_BSTR: return FADF_BSTR;
    case VT_UNKNOWN: return FADF_UNKNOWN;
    case VT_DISPATCH: return FADF_DISPATCH;
    case VT_VARIANT: return FADF_VARIANT;
    default: return 0;
  }
}

// The element count, or false when it does not fit in 32 bits.
bool CountElements(const SAFEARRAY* array, ULONG* count) {
  ULONGLONG total = 1;
  for (USHORT i = 0; i < array->cDims; ++i) {
    total *= Bounds(array)[i].cElements;
    if (total > 0xFFFFFFFFull) return false;
  }
  *count = static_cast<ULONG>(total);
  return true;
}

// Releases elements [first, first + count) of the array's own type.
void ReleaseElements(SAFEARRAY* array, ULONG first, ULONG count) {
  auto* data = static_cast<unsigned char*>(array->pvData);
  if (!data) return;
  for (ULONG i = first; i < first + count; ++i) {
    void* element = data + static_cast<std::size_t>(i) * array->cbElements;
    if (array->fFeatures & FADF_BSTR) {
      SysFreeString(*static_cast<BSTR*>(element));
    } else if (array->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
      if (IUnknown* object = *static_cast<IUnknown**>(element)) object->Release();
    } else if (array->fFeatures & FADF_VARIANT) {
      VariantClear(static_cast<VARIANT*>(element));
    }
  }
}

HRESULT ElementOffset(SAFEARRAY* array, const LONG* indexes, std::size_t* offset) {
  if (!array || !indexes) return E_INVALIDARG;
  ULONGLONG position = 0;
  ULONGLONG stride = 1;
  for (USHORT k = 0; k < array->cDims; ++k) {
    const SAFEARRAYBOUND& bound = Bounds(array)[array->cDims - 1 - k];
    const LONGLONG relative = static_cast<LONGLONG>(indexes[k]) - bound.lLbound;
    if (relative < 0 || relative >= static_cast<LONGLONG>(bound.cElements)) {
      return DISP_E_BADINDEX;
    }
    position += static_cast<ULONGLONG>(relative) * stride;
    stride *= bound.cElements;
  }
  *offset = static_cast<std::size_t>(position) * array->cbElements;
  return S_OK;
}

// Copies one element of the array's type from `from` into the empty slot `to`.
HRESULT CopyElement(USHORT features, ULONG size, const void* from, void* to) {
  if (features & FADF_BSTR) {
    BSTR text = *static_cast<const BSTR*>(from);
    BSTR copy = nullptr;
    if (text) {
      copy = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(text), SysStringByteLen(text));
      if (!copy) return E_OUTOFMEMORY;
    }
    *static_cast<BSTR*>(to) = copy;
  } else if (features & (FADF_UNKNOWN | FADF_DISPATCH)) {
    IUnknown* object = *static_cast<IUnknown* const*>(from);
    if (object) object->AddRef();
    *static_cast<IUnknown**>(to) = object;
  } else if (features & FADF_VARIANT) {
    VariantInit(static_cast<VARIANT*>(to));
    return VariantCopy(static_cast<VARIANT*>(to), static_cast<const VARIANT*>(from));
  } else {
    std::memcpy(to, from, size);
  }
  return S_OK;
}

}  // namespace

HRESULT SafeArrayAllocDescriptorEx(VARTYPE vt, UINT dims, SAFEARRAY** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (dims == 0 || dims > 65535 || !IsElementType(vt)) return E_INVALIDARG;
  const std::size_t size = kPrefix + sizeof(SAFEARRAY) + (dims - 1) * sizeof(SAFEARRAYBOUND);
  auto* block = static_cast<unsigned char*>(std::calloc(1, size));
  if (!block) return E_OUTOFMEMORY;
  const DWORD storedVt = vt;
  std::memcpy(block + kPrefix - 4, &storedVt, 4);
  auto* array = reinterpret_cast<SAFEARRAY*>(block + kPrefix);
  array->cDims = static_cast<USHORT>(dims);
  array->fFeatures = FADF_HAVEVARTYPE | FeaturesOf(vt);
  array->cbElements = oleaut::detail::ValueSize(vt);
  *out = array;
  return S_OK;
}

HRESULT SafeArrayAllocData(SAFEARRAY* array) {
  if (!array) return E_INVALIDARG;
  ULONG count = 0;
  if (!CountElements(array, &count)) return E_OUTOFMEMORY;
  const std::size_t bytes = static_cast<std::size_t>(count) * array->cbElements;
  void* data = std::calloc(1, bytes ? bytes : 1);
  if (!data) return E_OUTOFMEMORY;
  array->pvData = data;
  return S_OK;
}

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, const SAFEARRAYBOUND* bounds) {
  if (!bounds) return nullptr;
  SAFEARRAY* array;
  if (FAILED(SafeArrayAllocDescriptorEx(vt, dims, &array))) return nullptr;
  for (UINT i = 0; i < dims; ++i) Bounds(array)[dims - 1 - i] = bounds[i];
  if (FAILED(SafeArrayAllocData(array))) {
    SafeArrayDestroyDescriptor(array);
    return nullptr;
  }
  return array;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG count) {
  const SAFEARRAYBOUND bound{count, lowerBound};
  return SafeArrayCreate(vt, 1, &bound);
}

HRESULT SafeArrayDestroyData(SAFEARRAY* array) {
  if (!array) return E_INVALIDARG;
  if (array->cLocks) return DISP_E_ARRAYISLOCKED;
  ULONG count = 0;
  if (CountElements(array, &count)) ReleaseElements(array, 0, count);
  std::free(array->pvData);
  array->pvData = nullptr;
  return S_OK;
}

HRESULT SafeArrayDestroyDescriptor(SAFEARRAY* array) {
  if (!array) return E_INVALIDARG;
  if (array->cLocks) return DISP_E_ARRAYISLOCKED;
  std::free(BlockOf(array));
  return S_OK;
}

HRESULT SafeArrayDestroy(SAFEARRAY* array) {
  if (!array) return S_OK;
  if (array->cLocks) return DISP_E_ARRAYISLOCKED;
  SafeArrayDestroyData(array);
  return SafeArrayDestroyDescriptor(array);
}

UINT SafeArrayGetDim(SAFEARRAY* array) { return array ? array->cDims : 0; }

UINT SafeArrayGetElemsize(SAFEARRAY* array) { return array ? array->cbElements : 0; }

HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* bound) {
  if (!array || !bound) return E_INVALIDARG;
  if (dim == 0 || dim > array->cDims) return DISP_E_BADINDEX;
  *bound = Bounds(array)[array->cDims - dim].lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* bound) {
  if (!array || !bound) return E_INVALIDARG;
  if (dim == 0 || dim > array->cDims) return DISP_E_BADINDEX;
  const SAFEARRAYBOUND& b = Bounds(array)[array->cDims - dim];
  *bound = static_cast<LONG>(static_cast<LONGLONG>(b.lLbound) + b.cElements - 1);
  return S_OK;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt) {
  if (!array || !vt) return E_INVALIDARG;
  if (array->fFeatures & FADF_HAVEVARTYPE) {
    *vt = StoredType(array);
  } else if (array->fFeatures & FADF_BSTR) {
    *vt = VT_BSTR;
  } else if (array->fFeatures & FADF_UNKNOWN) {
    *vt = VT_UNKNOWN;
  } else if (array->fFeatures & FADF_DISPATCH) {
    *vt = VT_DISPATCH;
  } else if (array->fFeatures & FADF_VARIANT) {
    *vt = VT_VARIANT;
  } else {
    return E_INVALIDARG;
  }
  return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* array) {
  if (!array) return E_INVALIDARG;
  std::atomic_ref<ULONG> locks(array->cLocks);
  if (locks.fetch_add(1) >= kMaxLocks) {
    locks.fetch_sub(1);
    return E_UNEXPECTED;
  }
  return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* array) {
  if (!array) return E_INVALIDARG;
  std::atomic_ref<ULONG> locks(array->cLocks);
  ULONG current = locks.load();
  do {
    if (current == 0) return E_UNEXPECTED;
  } while (!locks.compare_exchange_weak(current, current - 1));
  return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data) {
  if (!array || !data) return E_INVALIDARG;
  HRESULT hr = SafeArrayLock(array);
  if (FAILED(hr)) return hr;
  *data = array->pvData;
  return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array) { return SafeArrayUnlock(array); }

HRESULT SafeArrayPtrOfIndex(SAFEARRAY* array, const LONG* indexes, void** element) {
  if (!element) return E_INVALIDARG;
  std::size_t offset;
  HRESULT hr = ElementOffset(array, indexes, &offset);
  if (FAILED(hr)) return hr;
  *element = static_cast<unsigned char*>(array->pvData) + offset;
  return S_OK;
}

HRESULT SafeArrayGetElement(SAFEARRAY* array, const LONG* indexes, void* value) {
  if (!value) return E_INVALIDARG;
  std::size_t offset;
  HRESULT hr = ElementOffset(array, indexes, &offset);
  if (FAILED(hr)) return hr;
  SafeArrayLock(array);
  hr = CopyElement(array->fFeatures, array->cbElements,
                   static_cast<unsigned char*>(array->pvData) + offset, value);
  SafeArrayUnlock(array);
  return hr;
}

HRESULT SafeArrayPutElement(SAFEARRAY* array, const LONG* indexes, void* value) {
  std::size_t offset;
  HRESULT hr = ElementOffset(array, indexes, &offset);
  if (FAILED(hr)) return hr;
  void* element = static_cast<unsigned char*>(array->pvData) + offset;
  SafeArrayLock(array);
  if (array->fFeatures & FADF_BSTR) {
    BSTR text = static_cast<BSTR>(value);
    BSTR copy = nullptr;
    if (text) copy = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(text), SysStringByteLen(text));
    if (text && !copy) {
      hr = E_OUTOFMEMORY;
    } else {
      SysFreeString(*static_cast<BSTR*>(element));
      *static_cast<BSTR*>(element) = copy;
    }
  } else if (array->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
    auto* object = static_cast<IUnknown*>(value);
    if (object) object->AddRef();
    if (IUnknown* old = *static_cast<IUnknown**>(element)) old->Release();
    *static_cast<IUnknown**>(element) = object;
  } else if (!value) {
    hr = E_INVALIDARG;
  } else if (array->fFeatures & FADF_VARIANT) {
    hr = VariantCopy(static_cast<VARIANT*>(element), static_cast<const VARIANT*>(value));
  } else {
    std::memcpy(element, value, array->cbElements);
  }
  SafeArrayUnlock(array);
  return hr;
}

HRESULT SafeArrayRedim(SAFEARRAY* array, const SAFEARRAYBOUND* lastDimension) {
  if (!array || !lastDimension) return E_INVALIDARG;
  if (array->cLocks || (array->fFeatures & FADF_FIXEDSIZE)) return DISP_E_ARRAYISLOCKED;
  ULONG oldCount = 0;
  if (!CountElements(array, &oldCount)) return E_UNEXPECTED;
  ULONGLONG others = 1;  // elements of one step of the last dimension
  for (USHORT i = 1; i < array->cDims; ++i) others *= Bounds(array)[i].cElements;
  const ULONGLONG newCount64 = others * lastDimension->cElements;
  if (newCount64 > 0xFFFFFFFFull) return E_OUTOFMEMORY;
  const auto newCount = static_cast<ULONG>(newCount64);

  const std::size_t newBytes = static_cast<std::size_t>(newCount) * array->cbElements;
  const std::size_t oldBytes = static_cast<std::size_t>(oldCount) * array->cbElements;
  if (newCount < oldCount) {
    void* data = std::malloc(newBytes ? newBytes : 1);
    if (!data) return E_OUTOFMEMORY;
    std::memcpy(data, array->pvData, newBytes);
    ReleaseElements(array, newCount, oldCount - newCount);
    std::free(array->pvData);
    array->pvData = data;
  } else if (newCount > oldCount) {
    void* data = std::realloc(array->pvData, newBytes);
    if (!data) return E_OUTOFMEMORY;
    std::memset(static_cast<unsigned char*>(data) + oldBytes, 0, newBytes - oldBytes);
    array->pvData = data;
  }
  Bounds(array)[0] = *lastDimension;
  return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* array, SAFEARRAY** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (!array) return S_OK;
  VARTYPE vt;
  HRESULT hr = SafeArrayGetVartype(array, &vt);
  if (FAILED(hr)) return hr;
  SAFEARRAY* copy;
  hr = SafeArrayAllocDescriptorEx(vt, array->cDims, &copy);
  if (FAILED(hr)) return hr;
  std::memcpy(Bounds(copy), Bounds(array), array->cDims * sizeof(SAFEARRAYBOUND));
  hr = SafeArrayAllocData(copy);
  if (FAILED(hr)) {
    SafeArrayDestroyDescriptor(copy);
    return hr;
  }
  ULONG count = 0;
  CountElements(array, &count);
  const auto* from = static_cast<const unsigned char*>(array->pvData);
  auto* to = static_cast<unsigned char*>(copy->pvData);
  if (!(array->fFeatures & (FADF_BSTR | FADF_UNKNOWN | FADF_DISPATCH | FADF_VARIANT))) {
    std::memcpy(to, from, static_cast<std::size_t>(count) * array->cbElements);
  } else {
    for (ULONG i = 0; i < count; ++i) {
      const std::size_t offset = static_cast<std::size_t>(i) * array->cbElements;
      hr = CopyElement(array->fFeatures, array->cbElements, from + offset, to + offset);
      if (FAILED(hr)) {
        SafeArrayDestroy(copy);
        return hr;
      }
    }
  }
  *out = copy;
  return S_OK;
}

namespace oleaut {

ULONG SafeArrayElementCount(const SAFEARRAY* array) {
  ULONG count = 0;
  if (array && CountElements(array, &count)) return count;
  return 0;
}

}  // namespace oleaut
