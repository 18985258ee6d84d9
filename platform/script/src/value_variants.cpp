#include "value_variants.h"

#include <limits>

#include "control_object.h"

namespace script::detail {

HRESULT ToVariant(const Value& value, VARIANT& out) {
  struct Visitor {
    VARIANT& out;
    HRESULT operator()(std::monostate) const {
      oleaut::SetEmpty(out);
      return S_OK;
    }
    HRESULT operator()(Null) const {
      oleaut::SetNull(out);
      return S_OK;
    }
    HRESULT operator()(bool b) const {
      oleaut::SetBool(out, b);
      return S_OK;
    }
    HRESULT operator()(std::int32_t i) const {
      oleaut::SetI4(out, i);
      return S_OK;
    }
    HRESULT operator()(double d) const {
      oleaut::SetR8(out, d);
      return S_OK;
    }
    HRESULT operator()(const std::u16string& s) const { return oleaut::SetText(out, s); }
    HRESULT operator()(const std::shared_ptr<ScriptObject>& object) const {
      VariantClear(&out);
      out.vt = VT_DISPATCH;
      out.pdispVal = new ValueObject(object);  // its first reference goes to the variant
      return S_OK;
    }
  };
  return std::visit(Visitor{out}, value);
}

HRESULT FromVariant(const VARIANT& in, Value& value) {
  oleaut::OwnedVariant resolved;
  if (HRESULT hr = VariantCopyInd(resolved.get(), &in); FAILED(hr)) return hr;
  const VARIANT& v = *resolved;
  switch (v.vt) {
    case VT_EMPTY:
    case VT_ERROR:  // an omitted argument
      value = std::monostate{};
      return S_OK;
    case VT_NULL: value = Null{}; return S_OK;
    case VT_BOOL: value = v.boolVal != VARIANT_FALSE; return S_OK;
    case VT_I1: value = std::int32_t{v.cVal}; return S_OK;
    case VT_UI1: value = std::int32_t{v.bVal}; return S_OK;
    case VT_I2: value = std::int32_t{v.iVal}; return S_OK;
    case VT_UI2: value = std::int32_t{v.uiVal}; return S_OK;
    case VT_I4: value = std::int32_t{v.lVal}; return S_OK;
    case VT_INT: value = std::int32_t{v.intVal}; return S_OK;
    case VT_BSTR: value = std::u16string(oleaut::BstrView(v.bstrVal)); return S_OK;
    case VT_DISPATCH:
    case VT_UNKNOWN: {
      if (v.punkVal == nullptr) {
        value = Null{};
        return S_OK;
      }
      oleaut::ComPtr<IDispatch> dispatch;
      if (FAILED(v.punkVal->QueryInterface(IID_IDispatch, dispatch.PutVoid()))) {
        return DISP_E_TYPEMISMATCH;
      }
      // Only what the scripts handed out can go back into them.
      const auto* own = dynamic_cast<ValueObject*>(dispatch.Get());
      if (own == nullptr) return DISP_E_TYPEMISMATCH;
      value = own->Object();
      return S_OK;
    }
    default: break;
  }
  if (v.vt & VT_ARRAY) return DISP_E_TYPEMISMATCH;
  // The other numbers (unsigned and 64-bit integers, floats, currency, dates) as doubles.
  oleaut::OwnedVariant number;
  if (FAILED(VariantChangeType(number.get(), &v, 0, VT_R8))) return DISP_E_TYPEMISMATCH;
  value = number->dblVal;
  return S_OK;
}

}  // namespace script::detail
