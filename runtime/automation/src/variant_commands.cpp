// The Variant commands: clearing, typing, reading as text or bytes, assigning, arrays.
#include <cstring>

#include "oleaut/com_ptr.h"
#include "records.h"
#include "runtime/automation.h"
#include "runtime/frame.h"
#include "safearray_access.h"
#include "variant_conversions.h"

namespace runtime {
namespace {

using automation::ArrayOf;
using oleaut::OwnedVariant;

VARIANT* FirstVariant(std::int32_t argc, CommandArg* args) {
  return argc >= 1 ? automation::VariantOf(args[0]) : nullptr;
}

// An optional index argument: present when its record is not left out.
bool IndexArgument(std::int32_t argc, CommandArg* args, std::int32_t i, long long* index) {
  if (i >= argc || IsOmitted(args[i])) return false;
  *index = ArgInt(automation::ValueOf(args[i]));
  return true;
}

void ClearAndZero(VARIANT* v) {
  VariantClear(v);
  std::memset(v, 0, sizeof *v);
}

// The bytes of an array of one-byte elements, all dimensions together.
void* ByteSetOfArray(SAFEARRAY* array) {
  void* data = nullptr;
  if (!array || SafeArrayGetElemsize(array) != 1 || FAILED(SafeArrayAccessData(array, &data))) return nullptr;
  void* bytes = NewByteSet(data, oleaut::SafeArrayElementCount(array));
  SafeArrayUnaccessData(array);
  return bytes;
}

// What Variant.GetText and Variant.GetByteSet share: the value found, converted to the wanted type.
bool FindValue(VARIANT* v, bool hasIndex, long long index, VARTYPE wanted, OwnedVariant& found) {
  if (!v) return false;
  SAFEARRAY* array = ArrayOf(*v);
  if (!array) {
    if (v->vt == wanted) return SUCCEEDED(VariantCopy(found.get(), v));
    return SUCCEEDED(automation::ConvertedCopy(*v, wanted, found));
  }
  if (hasIndex) {
    OwnedVariant element;
    if (!automation::GetElement(array, index, *element)) return false;
    if (element->vt == wanted) {
      found = std::move(element);
      return true;
    }
    return SUCCEEDED(automation::ConvertedCopy(*element, wanted, found));
  }
  if (wanted != (VT_ARRAY | VT_UI1)) return false;
  VARTYPE elementType = VT_EMPTY;
  if (FAILED(SafeArrayGetVartype(array, &elementType)) || (elementType != VT_UI1 && elementType != VT_I1)) {
    return false;
  }
  return SUCCEEDED(VariantCopyInd(found.get(), v));
}

// Element types of the program's arrays in a SAFEARRAY, by the program-to-VARIANT table.
VARTYPE ElementTypeOf(TypeWord type) {
  switch (type) {
    case types::Bool: return VT_BOOL;
    case types::DateTime: return VT_DATE;
    case types::Text: return VT_BSTR;
    case types::Byte: return VT_UI1;
    case types::Short: return VT_I2;
    case types::Int:
    case types::Long: return VT_I4;
    case types::Float: return VT_R4;
    case types::Double: return VT_R8;
    case types::ComObject: return VT_UNKNOWN;
    case types::Variant: return VT_VARIANT;
    default: return VT_EMPTY;
  }
}

std::int32_t ProgramElementSize(TypeWord type) {
  switch (type) {
    case types::Bool: return 4;
    case types::DateTime: return 8;
    case types::Text:
    case types::ComObject:
    case types::Variant: return sizeof(void*);
    default: return NumericSize(type);
  }
}

// A one-dimensional SAFEARRAY (lower bound 1) holding the elements of a program array.
SAFEARRAY* SafeArrayOfProgramArray(TypeWord elementType, const unsigned char* elements, long long count,
                                   VARTYPE* vtOut) {
  VARTYPE vt = ElementTypeOf(elementType);
  if (vt == VT_EMPTY || count < 0 || count > 0x7FFFFFFF) return nullptr;
  SAFEARRAY* array = SafeArrayCreateVector(vt, 1, static_cast<ULONG>(count));
  if (!array) return nullptr;
  std::int32_t size = ProgramElementSize(elementType);
  for (long long i = 0; i < count; ++i) {
    const unsigned char* element = elements + i * size;
    CommandArg value;
    if (size == static_cast<std::int32_t>(sizeof(void*)) && elementType != types::DateTime) {
      void* pointer;
      std::memcpy(&pointer, element, sizeof pointer);
      value = PointerArg(pointer, elementType);
      if (elementType == types::Text && !pointer) value = TextArg(nullptr);
    } else {
      std::uint64_t bits = 0;
      std::memcpy(&bits, element, size);
      value = MakeArg(bits, elementType);
    }
    OwnedVariant converted;
    if (elementType == types::ComObject) {
      auto* record = static_cast<automation::ComObjectRecord*>(ArgPointer(value));
      oleaut::SetUnknown(*converted, record ? record->object : nullptr);
    } else if (!automation::ProgramToVariant(value, *converted)) {
      SafeArrayDestroy(array);
      return nullptr;
    }
    automation::PutElement(array, i + 1, *converted);
  }
  *vtOut = vt;
  return array;
}

// An array argument (or a byte set, which is an array of bytes) as a new SAFEARRAY.
SAFEARRAY* SafeArrayOfArgument(const CommandArg& value, VARTYPE* vt) {
  if (value.type == types::ByteSet) {
    const void* bytes = ArgPointer(value);
    return SafeArrayOfProgramArray(types::Byte, bytes ? ByteSetBytes(bytes) : nullptr, ByteSetLength(bytes), vt);
  }
  const void* array = ArgPointer(value);
  if (!array) return SafeArrayOfProgramArray(BaseType(value.type), nullptr, 0, vt);
  return SafeArrayOfProgramArray(BaseType(value.type), ArrayElements(array), ArrayCount(array), vt);
}

bool IsArrayValue(const CommandArg& value) {
  return value.type == types::ByteSet || (IsHeldElsewhere(value.type) && value.type != 0);
}

// A scalar value as a VARIANT; a ComObject as its IDispatch (empty when it has none).
bool ScalarToVariant(const CommandArg& value, VARIANT& out) {
  VariantInit(&out);
  if (value.type == types::ComObject) {
    auto* record = static_cast<automation::ComObjectRecord*>(ArgPointer(value));
    oleaut::ComPtr<IDispatch> dispatch;
    if (record && record->object &&
        SUCCEEDED(record->object->QueryInterface(IID_IDispatch, dispatch.PutVoid())) && dispatch) {
      out.vt = VT_UNKNOWN;
      out.punkVal = dispatch.Detach();
    }
    return true;
  }
  return automation::ProgramToVariant(value, out);
}

bool AssignWithoutIndex(VARIANT* v, const CommandArg& value) {
  if (IsArrayValue(value)) {
    VARTYPE vt = VT_EMPTY;
    SAFEARRAY* array = SafeArrayOfArgument(value, &vt);
    if (!array) return false;
    ClearAndZero(v);
    oleaut::SetArray(*v, vt, array);
    return true;
  }
  OwnedVariant converted;
  if (!ScalarToVariant(value, *converted)) return false;
  ClearAndZero(v);
  *v = *converted;
  VariantInit(converted.get());  // handed over
  return true;
}

bool AssignAtIndex(VARIANT* v, const CommandArg& value, long long index) {
  SAFEARRAY* target = ArrayOf(*v);
  VARTYPE elementType = VT_EMPTY;
  std::vector<LONG> subscripts;
  if (!target || FAILED(SafeArrayGetVartype(target, &elementType)) ||
      !automation::SubscriptsOf(target, index, subscripts)) {
    return false;
  }
  OwnedVariant element;
  if (IsArrayValue(value)) {
    if (elementType != VT_VARIANT) return false;
    VARTYPE vt = VT_EMPTY;
    SAFEARRAY* array = SafeArrayOfArgument(value, &vt);
    if (!array) return false;
    oleaut::SetArray(*element, vt, array);
  } else {
    if (!ScalarToVariant(value, *element)) return false;
    if (elementType != VT_VARIANT && element->vt != elementType &&
        FAILED(VariantChangeType(element.get(), element.get(), 0, elementType))) {
      return false;
    }
  }
  return automation::PutElement(target, index, *element);
}

}  // namespace

namespace Variant {

void Clear(CommandResult*, std::int32_t argc, CommandArg* args) {
  if (VARIANT* v = FirstVariant(argc, args)) ClearAndZero(v);
}

void SetType(CommandResult* result, std::int32_t argc, CommandArg* args) {
  static constexpr VARTYPE kTypes[] = {VT_EMPTY, VT_I4,  VT_BSTR, VT_BOOL, VT_DATE, VT_DISPATCH, VT_ERROR};
  SetBoolResult(result, false);
  VARIANT* v = FirstVariant(argc, args);
  if (!v) return;
  ClearAndZero(v);
  std::int32_t number = argc >= 2 ? ArgInt(automation::ValueOf(args[1])) : 0;
  if (number == 0) {
    SetBoolResult(result, true);
    return;
  }
  if (number < 0 || number > 13) return;
  VARTYPE vt = number <= 6    ? kTypes[number]
               : number <= 12 ? static_cast<VARTYPE>(VT_ARRAY | kTypes[number - 6])
                              : static_cast<VARTYPE>(VT_ARRAY | VT_VARIANT);
  OwnedVariant empty;
  if (FAILED(VariantChangeType(v, empty.get(), 0, vt))) {
    ClearAndZero(v);
    return;
  }
  SetBoolResult(result, true);
}

void GetText(CommandResult* result, std::int32_t argc, CommandArg* args) {
  long long index = 0;
  bool hasIndex = IndexArgument(argc, args, 1, &index);
  OwnedVariant found;
  Text text = nullptr;
  if (FindValue(FirstVariant(argc, args), hasIndex, index, VT_BSTR, found)) {
    text = automation::BstrToText(found->bstrVal);
  }
  SetPointerResult(result, text, types::Text);
}

void GetByteSet(CommandResult* result, std::int32_t argc, CommandArg* args) {
  long long index = 0;
  bool hasIndex = IndexArgument(argc, args, 1, &index);
  OwnedVariant found;
  void* bytes = nullptr;
  if (FindValue(FirstVariant(argc, args), hasIndex, index, VT_ARRAY | VT_UI1, found)) {
    bytes = ByteSetOfArray(ArrayOf(*found));
  }
  SetPointerResult(result, bytes, types::ByteSet);
}

void Assign(CommandResult* result, std::int32_t argc, CommandArg* args) {
  SetBoolResult(result, false);
  VARIANT* v = FirstVariant(argc, args);
  if (!v || argc < 2) return;
  long long index = 0;
  bool stored = IndexArgument(argc, args, 2, &index) ? AssignAtIndex(v, args[1], index)
                                                     : AssignWithoutIndex(v, args[1]);
  SetBoolResult(result, stored);
}

void CreateArray(CommandResult* result, std::int32_t argc, CommandArg* args) {
  static constexpr VARTYPE kElementTypes[] = {VT_UI1, VT_I2,   VT_I4,   VT_R4,      VT_R8,
                                              VT_BSTR, VT_BOOL, VT_DATE, VT_UNKNOWN, VT_VARIANT};
  SetBoolResult(result, false);
  VARIANT* v = FirstVariant(argc, args);
  if (!v || argc < 3) return;
  std::int32_t type = ArgInt(automation::ValueOf(args[1]));
  std::int32_t count = ArgInt(automation::ValueOf(args[2]));
  if (type < 1 || type > 10 || count < 0) return;
  SAFEARRAY* array = SafeArrayCreateVector(kElementTypes[type - 1], 1, static_cast<ULONG>(count));
  if (!array) return;
  ClearAndZero(v);
  oleaut::SetArray(*v, kElementTypes[type - 1], array);
  SetBoolResult(result, true);
}

}  // namespace Variant
}  // namespace runtime
