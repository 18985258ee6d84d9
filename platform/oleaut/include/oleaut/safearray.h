// SAFEARRAY: a multi-dimensional array that knows its bounds and its element type.
//
// Dimension order: SafeArrayCreate takes the bounds first dimension first and stores them
// reversed (rgsabound[0] holds the last dimension). Dimension numbers of GetLBound /
// GetUBound count from 1 = the first dimension given at creation. In an index vector
// (GetElement, PutElement, PtrOfIndex) index[0] goes with the first dimension, which
// varies fastest in memory. SafeArrayRedim changes the last dimension (rgsabound[0]).
#pragma once

#include "oleaut/variant.h"

struct SAFEARRAYBOUND {
  ULONG cElements;
  LONG lLbound;
};

struct SAFEARRAY {
  USHORT cDims;
  USHORT fFeatures;
  ULONG cbElements;
  ULONG cLocks;
  void* pvData;
  SAFEARRAYBOUND rgsabound[1];  // cDims entries
};
using LPSAFEARRAY = SAFEARRAY*;

// fFeatures.
inline constexpr USHORT FADF_AUTO = 0x0001;
inline constexpr USHORT FADF_STATIC = 0x0002;
inline constexpr USHORT FADF_EMBEDDED = 0x0004;
inline constexpr USHORT FADF_FIXEDSIZE = 0x0010;
inline constexpr USHORT FADF_RECORD = 0x0020;
inline constexpr USHORT FADF_HAVEIID = 0x0040;
inline constexpr USHORT FADF_HAVEVARTYPE = 0x0080;
inline constexpr USHORT FADF_BSTR = 0x0100;
inline constexpr USHORT FADF_UNKNOWN = 0x0200;
inline constexpr USHORT FADF_DISPATCH = 0x0400;
inline constexpr USHORT FADF_VARIANT = 0x0800;

// Element types: VT_I1, UI1, I2, UI2, BOOL, I4, UI4, INT, UINT, R4, ERROR, R8, DATE, CY,
// I8, UI8, BSTR, DISPATCH, UNKNOWN, VARIANT. Null for any other type, for more than 65535
// dimensions or 0, or when the element count does not fit in 32 bits.
SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, const SAFEARRAYBOUND* bounds);
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG count);
// The two halves of SafeArrayCreate: a descriptor with room for the bounds, then the data.
HRESULT SafeArrayAllocDescriptorEx(VARTYPE vt, UINT dims, SAFEARRAY** out);
HRESULT SafeArrayAllocData(SAFEARRAY* array);
// Releases the elements and the array; DISP_E_ARRAYISLOCKED while it is locked.
HRESULT SafeArrayDestroy(SAFEARRAY* array);
HRESULT SafeArrayDestroyData(SAFEARRAY* array);
HRESULT SafeArrayDestroyDescriptor(SAFEARRAY* array);

UINT SafeArrayGetDim(SAFEARRAY* array);
UINT SafeArrayGetElemsize(SAFEARRAY* array);
HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* bound);
HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* bound);
HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt);

HRESULT SafeArrayLock(SAFEARRAY* array);
HRESULT SafeArrayUnlock(SAFEARRAY* array);
HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* array);

// Copies the element out: a new BSTR, a new interface reference, a VariantCopy.
HRESULT SafeArrayGetElement(SAFEARRAY* array, const LONG* indexes, void* value);
// Stores a copy of the value. For BSTR, VT_DISPATCH and VT_UNKNOWN arrays `value` is the
// BSTR or interface pointer itself; for the others it points to the value.
HRESULT SafeArrayPutElement(SAFEARRAY* array, const LONG* indexes, void* value);
// The address of an element; the array should be locked while it is used.
HRESULT SafeArrayPtrOfIndex(SAFEARRAY* array, const LONG* indexes, void** element);

// New bounds for the last dimension; elements cut off are released, new ones are zero.
HRESULT SafeArrayRedim(SAFEARRAY* array, const SAFEARRAYBOUND* lastDimension);
// A deep copy (null for null).
HRESULT SafeArrayCopy(SAFEARRAY* array, SAFEARRAY** out);

namespace oleaut {

// The number of elements (product of all dimensions), 0 for null.
ULONG SafeArrayElementCount(const SAFEARRAY* array);

}  // namespace oleaut
