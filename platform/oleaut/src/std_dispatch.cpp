// The standard dispatch: Invoke over type information with handlers (type_model.h).
#include "oleaut/std_dispatch.h"

#include <cstring>
#include <exception>
#include <new>

#include "name_compare.h"
#include "type_model.h"
#include "variant_types.h"

namespace oleaut {

namespace detail {

namespace {

// An argument that stands for an omitted optional one, also behind a reference.
bool IsOmitted(const VARIANT& arg) {
  if (arg.vt == (VT_BYREF | VT_VARIANT) && arg.pvarVal) return IsMissing(*arg.pvarVal);
  return IsMissing(arg);
}

struct WriteBack {
  UINT param;
  UINT argIndex;  // in rgvarg
};

}  // namespace

class Dispatcher {
 public:
  Dispatcher(DispatchObject& self, TypeInfoImpl& type, LCID lcid)
      : self_(self), type_(type), scope_(static_cast<ITypeInfo*>(&type)), lcid_(lcid) {}

  HRESULT Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* exception, UINT* argumentError) {
    if (!params || (params->cArgs && !params->rgvarg) ||
        params->cNamedArgs > params->cArgs ||
        (params->cNamedArgs && !params->rgdispidNamedArgs)) {
      return E_INVALIDARG;
    }
    if (result) VariantInit(result);

    const FuncData* func = nullptr;
    const VarData* var = nullptr;
    for (const FuncData& f : type_.funcs) {
      if (f.id == member && (f.kind & flags)) {
        func = &f;
        break;
      }
    }
    INVOKEKIND kind = func ? func->kind : INVOKE_FUNC;
    if (!func) {
      for (const VarData& v : type_.vars) {
        if (v.id != member || v.kind != VAR_DISPATCH) continue;
        if (flags & DISPATCH_PROPERTYGET) {
          var = &v;
          kind = INVOKE_PROPERTYGET;
        } else if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) &&
                   !(v.flags & VARFLAG_FREADONLY)) {
          var = &v;
          kind = (flags & DISPATCH_PROPERTYPUT) ? INVOKE_PROPERTYPUT : INVOKE_PROPERTYPUTREF;
        }
        break;
      }
    }
    const MemberHandler* handler = func ? &func->handler
                                   : var ? (kind == INVOKE_PROPERTYGET ? &var->getter : &var->setter)
                                         : nullptr;
    if (!handler || !*handler) return DISP_E_MEMBERNOTFOUND;

    const bool put = kind == INVOKE_PROPERTYPUT || kind == INVOKE_PROPERTYPUTREF;
    if (params->cNamedArgs > (put ? 1u : 0u) ||
        (params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)) {
      return DISP_E_NONAMEDARGS;
    }

    // The declared parameters, the retval one aside, and the type of the member's value.
    std::vector<const ParamData*> declared;
    bool varargs = false;
    VARTYPE resultType = VT_VOID;
    if (func) {
      for (const ParamData& p : func->params) {
        if (!(p.flags & PARAMFLAG_FRETVAL)) declared.push_back(&p);
      }
      varargs = func->optionalCount == -1;
      resultType = func->HasRetval() ? ResolveVarType(*func->params.back().type.inner, scope_)
                                     : ResolveVarType(func->result, scope_);
    } else if (kind == INVOKE_PROPERTYGET) {
      resultType = ResolveVarType(var->type, scope_);
    } else {
      declared.push_back(&var->valueParam);
    }

    Invocation call;
    call.member_ = member;
    call.kind_ = kind;
    call.lcid_ = lcid_;
    call.args_.resize(declared.size());
    for (VARIANT& slot : call.args_) VariantInit(&slot);
    VARIANT value;
    VariantInit(&value);
    call.result_ = &value;

    std::vector<WriteBack> writeBacks;
    HRESULT hr = BindArguments(declared, varargs, *params, call, writeBacks, argumentError);
    if (SUCCEEDED(hr)) hr = Call(*handler, call, exception);
    if (SUCCEEDED(hr)) hr = WriteBackOutputs(declared, *params, call, writeBacks, argumentError);
    if (SUCCEEDED(hr) && result) hr = StoreResult(value, resultType, result);
    VariantClear(&value);
    return hr;
  }

 private:
  HRESULT BindArguments(const std::vector<const ParamData*>& declared, bool varargs,
                        const DISPPARAMS& params, Invocation& call,
                        std::vector<WriteBack>& writeBacks, UINT* argumentError) {
    const UINT given = params.cArgs;
    const UINT fixed = static_cast<UINT>(declared.size()) - (varargs ? 1 : 0);
    if (!varargs && given > declared.size()) return DISP_E_BADPARAMCOUNT;
    for (UINT i = 0; i < fixed; ++i) {
      const ParamData& param = *declared[i];
      const UINT argIndex = given - 1 - i;
      const VARIANT* arg = i < given ? &params.rgvarg[argIndex] : nullptr;
      VARIANT& slot = call.args_[i];
      if (!arg || IsOmitted(*arg)) {
        if (!(param.flags & PARAMFLAG_FOPT)) {
          if (!arg) return DISP_E_BADPARAMCOUNT;  // too few: "wrong number of arguments"
          if (argumentError) *argumentError = argIndex;
          return DISP_E_PARAMNOTOPTIONAL;
        }
        if (param.flags & PARAMFLAG_FHASDEFAULT) {
          VariantCopy(&slot, param.defaultValue.get());
        } else {
          SetMissing(slot);
        }
        continue;
      }
      const bool byRef = param.type.vt == VT_PTR;
      const DeclType& target = byRef ? *param.type.inner : param.type;
      const VARTYPE vt = ResolveVarType(target, scope_);
      HRESULT hr;
      if (byRef && (param.flags & PARAMFLAG_FOUT) && !(param.flags & PARAMFLAG_FIN)) {
        VARIANT empty;
        VariantInit(&empty);
        if (vt & VT_ARRAY) {
          slot.vt = vt;  // no array yet: the member makes one
          hr = S_OK;
        } else {
          hr = vt == VT_VARIANT ? S_OK : VariantChangeTypeEx(&slot, &empty, lcid_, 0, vt);
        }
      } else {
        hr = Coerce(*arg, vt, &slot);
      }
      if (FAILED(hr)) {
        if (argumentError) *argumentError = argIndex;
        return hr;
      }
      if (byRef && (param.flags & PARAMFLAG_FOUT) && (arg->vt & VT_BYREF)) {
        writeBacks.push_back(WriteBack{i, argIndex});
      }
    }
    if (varargs) {
      const UINT extra = given > fixed ? given - fixed : 0;
      SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, extra);
      if (!array) return E_OUTOFMEMORY;
      SetArray(call.args_[fixed], VT_VARIANT, array);
      auto* elements = static_cast<VARIANT*>(array->pvData);
      for (UINT k = 0; k < extra; ++k) {
        const UINT argIndex = given - 1 - (fixed + k);
        HRESULT hr = VariantCopyInd(&elements[k], &params.rgvarg[argIndex]);
        if (FAILED(hr)) {
          if (argumentError) *argumentError = argIndex;
          return hr;
        }
      }
    }
    return S_OK;
  }

  HRESULT Coerce(const VARIANT& arg, VARTYPE vt, VARIANT* slot) {
    if (vt == VT_VARIANT) return VariantCopyInd(slot, &arg);
    if (vt == VT_RECORD) {
      HRESULT hr = VariantCopyInd(slot, &arg);
      if (SUCCEEDED(hr) && slot->vt != VT_RECORD) {
        VariantClear(slot);
        return DISP_E_TYPEMISMATCH;
      }
      return hr;
    }
    return VariantChangeTypeEx(slot, &arg, lcid_, 0, vt);
  }

  HRESULT Call(const MemberHandler& handler, Invocation& call, EXCEPINFO* exception) {
    HRESULT hr;
    try {
      hr = handler(self_, call);
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    } catch (const std::exception& e) {
      hr = call.Raise(DISP_E_EXCEPTION, FromUtf8(e.what()));
    } catch (...) {
      hr = call.Raise(DISP_E_EXCEPTION, u"unexpected failure");
    }
    if (hr == DISP_E_EXCEPTION && exception) {
      std::memset(exception, 0, sizeof *exception);
      exception->scode = call.raised_ ? call.raisedCode_ : DISP_E_EXCEPTION;
      if (call.raised_) {
        if (!call.raisedDescription_.empty()) {
          exception->bstrDescription = AllocBstr(call.raisedDescription_);
        }
        if (!call.raisedSource_.empty()) exception->bstrSource = AllocBstr(call.raisedSource_);
      }
    }
    return hr;
  }

  HRESULT WriteBackOutputs(const std::vector<const ParamData*>& declared,
                           const DISPPARAMS& params, Invocation& call,
                           const std::vector<WriteBack>& writeBacks, UINT* argumentError) {
    HRESULT result = S_OK;
    for (const WriteBack& wb : writeBacks) {
      VARIANT& slot = call.args_[wb.param];
      const VARIANT& ref = params.rgvarg[wb.argIndex];
      const VARTYPE declaredVt = ResolveVarType(*declared[wb.param]->type.inner, scope_);
      HRESULT hr = S_OK;
      if (declaredVt != VT_VARIANT && slot.vt != declaredVt) {
        hr = VariantChangeTypeEx(&slot, &slot, lcid_, 0, declaredVt);
      }
      VARIANT target = ref;
      if (SUCCEEDED(hr) && ref.vt == (VT_BYREF | VT_VARIANT)) {
        StoreThroughRef(target, slot);
        continue;
      }
      const VARTYPE callerVt = ref.vt & ~VT_BYREF;
      if (SUCCEEDED(hr) && slot.vt != callerVt) {
        hr = VariantChangeTypeEx(&slot, &slot, lcid_, 0, callerVt);
      }
      if (FAILED(hr)) {
        if (argumentError) *argumentError = wb.argIndex;
        if (SUCCEEDED(result)) result = hr;
        continue;
      }
      StoreThroughRef(target, slot);
    }
    return result;
  }

  HRESULT StoreResult(VARIANT& value, VARTYPE type, VARIANT* result) {
    if (type == VT_VOID || type == VT_HRESULT) return S_OK;  // nothing to return
    if (type != VT_VARIANT && value.vt != type) {
      HRESULT hr = VariantChangeTypeEx(&value, &value, lcid_, 0, type);
      if (FAILED(hr)) return hr;
    }
    *result = value;
    VariantInit(&value);
    return S_OK;
  }

  DispatchObject& self_;
  TypeInfoImpl& type_;
  ITypeInfo* scope_;
  LCID lcid_;
};

}  // namespace detail

namespace {

const VARIANT& EmptyVariant() {
  static const VARIANT empty{};
  return empty;
}

}  // namespace

Invocation::~Invocation() {
  for (VARIANT& arg : args_) VariantClear(&arg);
}

VARIANT& Invocation::Arg(UINT index) {
  if (index < args_.size()) return args_[index];
  static thread_local VARIANT spare;
  VariantClear(&spare);
  return spare;
}

const VARIANT& Invocation::Arg(UINT index) const {
  return index < args_.size() ? args_[index] : EmptyVariant();
}

bool Invocation::IsMissing(UINT index) const { return oleaut::IsMissing(Arg(index)); }

LONG Invocation::GetLong(UINT index) const {
  const VARIANT& v = Arg(index);
  switch (v.vt) {
    case VT_I4: return v.lVal;
    case VT_INT: return v.intVal;
    case VT_I2: return v.iVal;
    case VT_UI1: return v.bVal;
    case VT_UI2: return v.uiVal;
    case VT_I1: return v.cVal;
    case VT_UI4: return static_cast<LONG>(v.ulVal);
    case VT_BOOL: return v.boolVal;
    default: return 0;
  }
}

double Invocation::GetDouble(UINT index) const {
  const VARIANT& v = Arg(index);
  switch (v.vt) {
    case VT_R8: return v.dblVal;
    case VT_R4: return v.fltVal;
    case VT_DATE: return v.date;
    default: return GetLong(index);
  }
}

bool Invocation::GetBool(UINT index) const {
  const VARIANT& v = Arg(index);
  return v.vt == VT_BOOL ? v.boolVal != VARIANT_FALSE : GetLong(index) != 0;
}

std::u16string_view Invocation::GetText(UINT index) const {
  const VARIANT& v = Arg(index);
  return v.vt == VT_BSTR ? BstrView(v.bstrVal) : std::u16string_view();
}

IDispatch* Invocation::GetDispatch(UINT index) const {
  const VARIANT& v = Arg(index);
  return v.vt == VT_DISPATCH ? v.pdispVal : nullptr;
}

IUnknown* Invocation::GetUnknown(UINT index) const {
  const VARIANT& v = Arg(index);
  return v.vt == VT_UNKNOWN || v.vt == VT_DISPATCH ? v.punkVal : nullptr;
}

SAFEARRAY* Invocation::GetArray(UINT index) const {
  const VARIANT& v = Arg(index);
  return (v.vt & VT_ARRAY) && !(v.vt & VT_BYREF) ? v.parray : nullptr;
}

HRESULT Invocation::Raise(SCODE code, std::u16string_view description,
                          std::u16string_view source) {
  raised_ = true;
  raisedCode_ = code;
  raisedDescription_ = description;
  raisedSource_ = source;
  return DISP_E_EXCEPTION;
}

DispatchObject::DispatchObject(ITypeInfo* typeInfo) : typeInfo_(typeInfo) {}

DispatchObject::~DispatchObject() = default;

HRESULT DispatchObject::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  bool own = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch);
  if (!own && typeInfo_) {
    TYPEATTR* attr = nullptr;
    if (SUCCEEDED(typeInfo_->GetTypeAttr(&attr))) {
      own = !IsEqualGUID(attr->guid, GUID_NULL) && IsEqualGUID(attr->guid, riid);
      typeInfo_->ReleaseTypeAttr(attr);
    }
  }
  if (own) {
    *object = static_cast<IDispatch*>(this);
    DispatchObject::AddRef();
    return S_OK;
  }
  return QueryOtherInterface(riid, object);
}

ULONG DispatchObject::AddRef() { return ++refs_; }

ULONG DispatchObject::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT DispatchObject::QueryOtherInterface(REFIID, void** object) {
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_INVALIDARG;
  *count = typeInfo_ ? 1 : 0;
  return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT index, LCID, ITypeInfo** typeInfo) {
  if (!typeInfo) return E_INVALIDARG;
  *typeInfo = nullptr;
  if (index != 0 || !typeInfo_) return DISP_E_BADINDEX;
  *typeInfo = ComPtr<ITypeInfo>(typeInfo_).Detach();
  return S_OK;
}

HRESULT DispatchObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                      DISPID* ids) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!typeInfo_) return DISP_E_UNKNOWNNAME;
  return typeInfo_->GetIDsOfNames(names, count, ids);
}

HRESULT DispatchObject::Invoke(DISPID member, REFIID riid, LCID lcid, WORD flags,
                               DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                               UINT* argumentError) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  detail::TypeInfoImpl* type = detail::AsTypeInfoImpl(typeInfo_.Get());
  if (!type) return DISP_E_MEMBERNOTFOUND;
  // Keep the object alive while a handler runs, even if it releases the caller's reference.
  ComPtr<IDispatch> keepAlive(this);
  detail::Dispatcher dispatcher(*this, *type, lcid);
  return dispatcher.Invoke(member, flags, params, result, exception, argumentError);
}

}  // namespace oleaut
