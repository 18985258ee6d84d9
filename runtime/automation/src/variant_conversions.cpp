#include "variant_conversions.h"

#include <cstring>

#include "records.h"
#include "runtime/automation.h"
#include "runtime/frame.h"

namespace runtime::automation {
namespace {

template <typename T>
T Load(const void* address) {
  T value;
  std::memcpy(&value, address, sizeof value);
  return value;
}

template <typename T>
void Save(void* address, T value) {
  std::memcpy(address, &value, sizeof value);
}

}  // namespace

CommandArg ValueOf(const CommandArg& arg) {
  if (!IsHeldElsewhere(arg.type)) return arg;
  const void* address = ArgPointer(arg);
  TypeWord type = BaseType(arg.type);
  if (!address) return MakeArg(0, type);
  switch (type) {
    case types::Byte: return MakeArg(Load<std::uint8_t>(address), type);
    case types::Short: return MakeArg(static_cast<std::uint16_t>(Load<std::int16_t>(address)), type);
    case types::Bool:
    case types::Int:
    case types::Float:
      return MakeArg(Load<std::uint32_t>(address), type);
    case types::Long:
    case types::Double:
    case types::DateTime:
      return MakeArg(Load<std::uint64_t>(address), type);
    default:  // texts, byte sets and library types: the variable holds a pointer
      return PointerArg(Load<void*>(address), type);
  }
}

bool ProgramToVariant(const CommandArg& value, VARIANT& out) {
  VariantInit(&out);
  switch (value.type) {
    case types::Bool: oleaut::SetBool(out, ArgBool(value)); return true;
    case types::DateTime: oleaut::SetDate(out, ArgDouble(value)); return true;
    case types::Text:
      out.vt = VT_BSTR;
      out.bstrVal = TextToBstr(ArgText(value));
      return true;
    case types::Byte:
      out.vt = VT_UI1;
      out.bVal = static_cast<BYTE>(value.dataLow);
      return true;
    case types::Short:
      out.vt = VT_I2;
      out.iVal = static_cast<SHORT>(value.dataLow);
      return true;
    case types::Int: oleaut::SetI4(out, ArgInt(value)); return true;
    case types::Long: oleaut::SetI4(out, static_cast<LONG>(ArgLong(value))); return true;  // the low 32 bits
    case types::Float:
      out.vt = VT_R4;
      out.fltVal = ArgFloat(value);
      return true;
    case types::Double: oleaut::SetR8(out, ArgDouble(value)); return true;
    case types::Variant: {
      const auto* source = static_cast<const VARIANT*>(ArgPointer(value));
      return !source || SUCCEEDED(VariantCopyInd(&out, source));
    }
    default: return false;
  }
}

HRESULT ConvertedCopy(const VARIANT& value, VARTYPE vt, oleaut::OwnedVariant& out) {
  HRESULT hr = VariantCopyInd(out.get(), &value);
  if (FAILED(hr)) return hr;
  if (out->vt == VT_RECORD) return DISP_E_TYPEMISMATCH;
  if (out->vt == vt) return S_OK;
  return VariantChangeType(out.get(), out.get(), 0, vt);
}

bool VariantToText(const VARIANT& value, Text* out) {
  oleaut::OwnedVariant text;
  if (FAILED(ConvertedCopy(value, VT_BSTR, text))) return false;
  *out = BstrToText(text->bstrVal);
  return true;
}

bool VariantToDouble(const VARIANT& value, double* out) {
  oleaut::OwnedVariant number;
  if (FAILED(ConvertedCopy(value, VT_R8, number))) return false;
  *out = number->dblVal;
  return true;
}

void* VariantToNewVariantBlock(const VARIANT& value) {
  void* block = NewVariantBlock();
  VariantCopy(static_cast<VARIANT*>(block), &value);
  return block;
}

bool VariantToNewComObject(const VARIANT& value, void** record) {
  oleaut::OwnedVariant object;
  if (FAILED(ConvertedCopy(value, VT_UNKNOWN, object))) return false;
  *record = NewComObjectRecord();
  StoreObject(*static_cast<ComObjectRecord*>(*record), object->punkVal);
  return true;
}

bool StoreInVariable(const VARIANT& value, TypeWord type, void* variable) {
  if (!variable) return false;
  if (type == types::Variant) {
    auto*& block = *static_cast<VARIANT**>(variable);
    if (!block) block = static_cast<VARIANT*>(NewVariantBlock());
    return SUCCEEDED(VariantCopy(block, &value));
  }
  if (type == types::ComObject) {
    oleaut::OwnedVariant object;
    if (FAILED(ConvertedCopy(value, VT_UNKNOWN, object))) return false;
    auto*& record = *static_cast<ComObjectRecord**>(variable);
    if (!record) record = static_cast<ComObjectRecord*>(NewComObjectRecord());
    StoreObject(*record, object->punkVal);
    return true;
  }

  VARTYPE vt;
  switch (type) {
    case types::Bool: vt = VT_BOOL; break;
    case types::DateTime: vt = VT_DATE; break;
    case types::Text: vt = VT_BSTR; break;
    case types::Byte: vt = VT_UI1; break;
    case types::Short: vt = VT_I2; break;
    case types::Int:
    case types::Long: vt = VT_I4; break;
    case types::Float: vt = VT_R4; break;
    case types::Double: vt = VT_R8; break;
    default: return false;
  }
  oleaut::OwnedVariant converted;
  if (FAILED(ConvertedCopy(value, vt, converted))) return false;
  switch (type) {
    case types::Bool: Save<std::int32_t>(variable, converted->boolVal != 0 ? 1 : 0); break;
    case types::DateTime: Save<double>(variable, converted->date); break;
    case types::Text: {
      Text old = Load<Text>(variable);
      Save<Text>(variable, BstrToText(converted->bstrVal));
      FreeBlock(old);
      break;
    }
    case types::Byte: Save<std::uint8_t>(variable, converted->bVal); break;
    case types::Short: Save<std::int16_t>(variable, converted->iVal); break;
    case types::Int: Save<std::int32_t>(variable, converted->lVal); break;
    case types::Long: Save<std::int64_t>(variable, converted->lVal); break;  // sign-extended
    case types::Float: Save<float>(variable, converted->fltVal); break;
    case types::Double: Save<double>(variable, converted->dblVal); break;
  }
  return true;
}

}  // namespace runtime::automation
