#include "control_object.h"

#include <vector>

#include "oleaut/safearray.h"
#include "script/script_control.h"
#include "value_variants.h"

namespace script::detail {

namespace {

// Exception codes, as JScript reports them.
constexpr SCODE kUncaughtException = static_cast<SCODE>(0x800A139E);  // thrown and not caught
constexpr SCODE kOutOfMemory = static_cast<SCODE>(0x800A0007);
constexpr SCODE kTimedOut = static_cast<SCODE>(0x80004004);  // E_ABORT: the script was stopped
constexpr std::u16string_view kSource = u"Microsoft JScript runtime error";

// A call's outcome as the control reports it.
HRESULT Report(oleaut::Invocation& call, const Result& result) {
  switch (result.status) {
    case Status::Ok: return S_OK;
    case Status::NotInitialized: return E_FAIL;
    case Status::SyntaxError: return SCRIPT_E_SYNTAX;
    case Status::UnknownName: return DISP_E_UNKNOWNNAME;
    case Status::InvalidArgument: return DISP_E_TYPEMISMATCH;
    case Status::ScriptError: return call.Raise(kUncaughtException, result.message, kSource);
    case Status::Timeout: return call.Raise(kTimedOut, result.message, kSource);
    case Status::OutOfMemory: return call.Raise(kOutOfMemory, result.message, kSource);
    case Status::EngineFailure: return call.Raise(E_UNEXPECTED, result.message, kSource);
  }
  return E_UNEXPECTED;
}

HRESULT ReportValue(oleaut::Invocation& call, const Result& result) {
  if (!result.ok()) return Report(call, result);
  return ToVariant(result.value, call.Result());
}

// Run's arguments: the first dimension of the array (any further ones at their lower
// bounds).
HRESULT RunArguments(SAFEARRAY* array, std::vector<Value>& arguments) {
  if (array == nullptr) return E_POINTER;
  const UINT dims = SafeArrayGetDim(array);
  if (dims == 0) return DISP_E_BADINDEX;
  VARTYPE type = VT_EMPTY;
  if (FAILED(SafeArrayGetVartype(array, &type)) || type != VT_VARIANT) return DISP_E_TYPEMISMATCH;
  std::vector<LONG> index(dims);
  for (UINT d = 0; d < dims; ++d) SafeArrayGetLBound(array, d + 1, &index[d]);
  LONG upper = 0;
  SafeArrayGetUBound(array, 1, &upper);
  for (LONG i = index[0]; i <= upper; ++i) {
    index[0] = i;
    oleaut::OwnedVariant element;
    if (HRESULT hr = SafeArrayGetElement(array, index.data(), element.get()); FAILED(hr)) return hr;
    Value value;
    if (HRESULT hr = FromVariant(*element, value); FAILED(hr)) return hr;
    arguments.push_back(std::move(value));
  }
  return S_OK;
}

}  // namespace

ControlObject::ControlObject() : DispatchObject(ControlTypeInfo()) {}

HRESULT ControlObject::GetLanguage(oleaut::Invocation& call) {
  return oleaut::SetText(call.Result(), engine_.Language());
}

HRESULT ControlObject::PutLanguage(oleaut::Invocation& call) {
  if (!engine_.SetLanguage(call.GetText(0))) return CTL_E_INVALIDPROPERTYVALUE;
  state_ = 0;
  return S_OK;
}

HRESULT ControlObject::GetState(oleaut::Invocation& call) {
  if (!engine_.HasLanguage()) return E_FAIL;
  oleaut::SetI4(call.Result(), state_);
  return S_OK;
}

HRESULT ControlObject::PutState(oleaut::Invocation& call) {
  if (!engine_.HasLanguage()) return E_FAIL;
  const LONG state = call.GetLong(0);
  if (state != 0 && state != 1) return CTL_E_INVALIDPROPERTYVALUE;
  state_ = state;
  return S_OK;
}

HRESULT ControlObject::GetTimeout(oleaut::Invocation& call) {
  oleaut::SetI4(call.Result(), engine_.Timeout());
  return S_OK;
}

HRESULT ControlObject::PutTimeout(oleaut::Invocation& call) {
  return engine_.SetTimeout(call.GetLong(0)) ? S_OK : CTL_E_INVALIDPROPERTYVALUE;
}

HRESULT ControlObject::GetAllowUI(oleaut::Invocation& call) {
  oleaut::SetBool(call.Result(), allowUI_);
  return S_OK;
}

HRESULT ControlObject::PutAllowUI(oleaut::Invocation& call) {
  allowUI_ = call.GetBool(0);
  return S_OK;
}

HRESULT ControlObject::GetUseSafeSubset(oleaut::Invocation& call) {
  oleaut::SetBool(call.Result(), useSafeSubset_);
  return S_OK;
}

HRESULT ControlObject::PutUseSafeSubset(oleaut::Invocation& call) {
  useSafeSubset_ = call.GetBool(0);
  return S_OK;
}

HRESULT ControlObject::Reset(oleaut::Invocation&) {
  if (!engine_.HasLanguage()) return E_FAIL;
  engine_.Reset();
  state_ = 0;
  return S_OK;
}

HRESULT ControlObject::AddCode(oleaut::Invocation& call) {
  return Report(call, engine_.AddCode(call.GetText(0)));
}

HRESULT ControlObject::Eval(oleaut::Invocation& call) {
  return ReportValue(call, engine_.Eval(call.GetText(0)));
}

HRESULT ControlObject::ExecuteStatement(oleaut::Invocation& call) {
  return Report(call, engine_.ExecuteStatement(call.GetText(0)));
}

HRESULT ControlObject::Run(oleaut::Invocation& call) {
  if (!engine_.HasLanguage()) return E_FAIL;
  std::vector<Value> arguments;
  if (HRESULT hr = RunArguments(call.GetArray(1), arguments); FAILED(hr)) return hr;
  return ReportValue(call, engine_.Run(call.GetText(0), arguments));
}

ValueObject::ValueObject(std::shared_ptr<ScriptObject> object)
    : DispatchObject(ValueTypeInfo()), object_(std::move(object)) {}

HRESULT ValueObject::GetValue(oleaut::Invocation& call) {
  const Result text = object_->DefaultValue();
  if (!text.ok()) return Report(call, text);
  return oleaut::SetText(call.Result(), std::get<std::u16string>(text.value));
}

}  // namespace script::detail
