#include "automation_call.h"

#include <algorithm>
#include <deque>
#include <span>
#include <vector>

#include "codepage/codepage.h"
#include "oleaut/com_ptr.h"
#include "oleaut/typelib.h"
#include "records.h"
#include "runtime/automation.h"
#include "runtime/frame.h"
#include "variant_conversions.h"

namespace runtime::automation {
namespace {

using oleaut::ComPtr;
using oleaut::OwnedVariant;

// The codes of LastComError.
namespace code {
constexpr std::int32_t Success = 0;
constexpr std::int32_t EmptyObject = -1;
constexpr std::int32_t NoDispatch = -2;
constexpr std::int32_t NotAMember = -3;
constexpr std::int32_t NoTypeInformation = -4;
constexpr std::int32_t TooManyArguments = -5;
constexpr std::int32_t UnpassableArgument = -7;
constexpr std::int32_t UnconvertibleResult = -8;
}  // namespace code

std::int32_t InvokeFailureCode(HRESULT hr) {
  switch (hr) {
    case DISP_E_BADPARAMCOUNT: return -9;
    case DISP_E_BADVARTYPE: return -10;
    case DISP_E_EXCEPTION: return -11;
    case DISP_E_MEMBERNOTFOUND: return -12;
    case DISP_E_NONAMEDARGS: return -13;
    case DISP_E_OVERFLOW: return -14;
    case DISP_E_PARAMNOTFOUND: return -15;
    case DISP_E_TYPEMISMATCH: return -16;
    case DISP_E_PARAMNOTOPTIONAL: return -17;
    default: return -18;
  }
}

// Whether a property write of a variable of this declared type goes by reference: it does
// for interfaces (IDispatch, IUnknown, or one of the library's own, also behind a pointer
// or an alias) and arrays.
bool WrittenByReference(ITypeInfo* info, const TYPEDESC& desc, int depth) {
  if (depth > 16) return false;  // a cycle of aliases
  switch (desc.vt) {
    case VT_DISPATCH:
    case VT_UNKNOWN:
    case VT_SAFEARRAY:
    case VT_CARRAY: return true;
    case VT_PTR: return desc.lptdesc && WrittenByReference(info, *desc.lptdesc, depth + 1);
    case VT_USERDEFINED: {
      ComPtr<ITypeInfo> target;
      TYPEATTR* attr = nullptr;
      if (FAILED(info->GetRefTypeInfo(desc.hreftype, target.Put())) || FAILED(target->GetTypeAttr(&attr))) {
        return false;
      }
      bool byReference =
          attr->typekind == TKIND_DISPATCH || attr->typekind == TKIND_INTERFACE || attr->typekind == TKIND_COCLASS ||
          (attr->typekind == TKIND_ALIAS && WrittenByReference(target.Get(), attr->tdescAlias, depth + 1));
      target->ReleaseTypeAttr(attr);
      return byReference;
    }
    default: return (desc.vt & VT_ARRAY) != 0;
  }
}

// What binding the name found: the member, how to invoke it, and its parameters.
class BoundMember {
 public:
  ~BoundMember() {
    if (funcDesc_) typeInfo_->ReleaseFuncDesc(funcDesc_);
    if (varDesc_) typeInfo_->ReleaseVarDesc(varDesc_);
  }

  // Tries the invocation kinds in order and keeps the first that binds.
  bool Bind(ITypeComp* comp, const std::u16string& name, ULONG hash, CallKind kind) {
    static constexpr WORD kMethodOrder[] = {INVOKE_FUNC, INVOKE_PROPERTYGET, INVOKE_PROPERTYPUT,
                                            INVOKE_PROPERTYPUTREF};
    static constexpr WORD kWriteOrder[] = {INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF, INVOKE_FUNC};
    static constexpr WORD kReadOrder[] = {INVOKE_PROPERTYGET, INVOKE_FUNC};
    std::span<const WORD> order = kind == CallKind::Method          ? std::span<const WORD>(kMethodOrder)
                                  : kind == CallKind::PropertyWrite ? std::span<const WORD>(kWriteOrder)
                                                                    : std::span<const WORD>(kReadOrder);
    std::u16string mutableName = name;
    for (WORD flags : order) {
      ITypeInfo* bound = nullptr;
      DESCKIND descKind = DESCKIND_NONE;
      BINDPTR pointer{};
      if (FAILED(comp->Bind(mutableName.data(), hash, flags, &bound, &descKind, &pointer))) continue;
      if (descKind == DESCKIND_NONE) {
        if (bound) bound->Release();
        continue;
      }
      if (descKind == DESCKIND_TYPECOMP || descKind == DESCKIND_IMPLICITAPPOBJ) {
        if (pointer.lptcomp) pointer.lptcomp->Release();
        if (bound) bound->Release();
        return false;  // binds to something that is no member
      }
      typeInfo_ = ComPtr<ITypeInfo>::Adopt(bound);
      if (descKind == DESCKIND_FUNCDESC) funcDesc_ = pointer.lpfuncdesc;
      else varDesc_ = pointer.lpvardesc;
      return Describe(kind);
    }
    return false;
  }

  MEMBERID member() const { return member_; }
  WORD flags() const { return flags_; }
  std::size_t paramCount() const { return params_.size(); }
  const ELEMDESC& param(std::size_t i) const { return *params_[i]; }
  bool varargs() const { return funcDesc_ && funcDesc_->cParamsOpt == -1; }
  ITypeInfo* typeInfo() const { return typeInfo_.Get(); }

 private:
  bool Describe(CallKind kind) {
    if (funcDesc_) {
      member_ = funcDesc_->memid;
      flags_ = static_cast<WORD>(funcDesc_->invkind);
      for (SHORT i = 0; i < funcDesc_->cParams; ++i) {
        const ELEMDESC& param = funcDesc_->lprgelemdescParam[i];
        // A retval parameter receives the member's value: no argument goes there.
        if (!(param.paramdesc.wParamFlags & PARAMFLAG_FRETVAL)) params_.push_back(&param);
      }
      return true;
    }
    member_ = varDesc_->memid;
    if (kind == CallKind::PropertyWrite) {
      bool byReference = WrittenByReference(typeInfo_.Get(), varDesc_->elemdescVar.tdesc, 0);
      flags_ = byReference ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
      params_.push_back(&varDesc_->elemdescVar);
    } else {
      flags_ = DISPATCH_PROPERTYGET;
    }
    return true;
  }

  ComPtr<ITypeInfo> typeInfo_;
  FUNCDESC* funcDesc_ = nullptr;
  VARDESC* varDesc_ = nullptr;
  MEMBERID member_ = MEMBERID_NIL;
  WORD flags_ = 0;
  std::vector<const ELEMDESC*> params_;
};

// A parameter's declared type as the call uses it.
struct DeclaredType {
  VARTYPE vt = VT_EMPTY;  // with VT_ARRAY for an array parameter
  bool byReference = false;
};

VARTYPE ResolveUserDefined(ITypeInfo* info, HREFTYPE ref, int depth);

VARTYPE ResolveType(ITypeInfo* info, const TYPEDESC& desc, int depth) {
  if (depth > 16) return VT_UNKNOWN;  // a cycle of aliases
  switch (desc.vt) {
    case VT_INT: return VT_I4;
    case VT_UINT: return VT_UI4;
    case VT_SAFEARRAY: return static_cast<VARTYPE>(VT_ARRAY | ResolveType(info, *desc.lptdesc, depth + 1));
    case VT_CARRAY: return static_cast<VARTYPE>(VT_ARRAY | ResolveType(info, desc.lpadesc->tdescElem, depth + 1));
    case VT_USERDEFINED: return ResolveUserDefined(info, desc.hreftype, depth + 1);
    default: return desc.vt;
  }
}

VARTYPE ResolveUserDefined(ITypeInfo* info, HREFTYPE ref, int depth) {
  ComPtr<ITypeInfo> target;
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetRefTypeInfo(ref, target.Put())) || FAILED(target->GetTypeAttr(&attr))) return VT_UNKNOWN;
  VARTYPE vt = VT_UNKNOWN;
  if (attr->typekind == TKIND_ENUM) vt = VT_I4;
  else if (attr->typekind == TKIND_DISPATCH) vt = VT_DISPATCH;
  else if (attr->typekind == TKIND_ALIAS) vt = ResolveType(target.Get(), attr->tdescAlias, depth);
  target->ReleaseTypeAttr(attr);
  return vt;
}

DeclaredType Declared(ITypeInfo* info, const ELEMDESC& param) {
  DeclaredType declared;
  if (param.tdesc.vt == VT_PTR) {
    declared.byReference = true;
    declared.vt = ResolveType(info, *param.tdesc.lptdesc, 0);
  } else {
    declared.vt = ResolveType(info, param.tdesc, 0);
  }
  return declared;
}

// A ComObject argument in the form its parameter asks for. False when its record data
// cannot be copied.
bool ComObjectToVariant(const ComObjectRecord* record, VARTYPE declared, VARIANT& out) {
  VariantInit(&out);
  if (record && record->recordData) {
    // A copy of the call's own, cleared with the other arguments: the member may also
    // replace it through a reference.
    VARIANT held;
    VariantInit(&held);
    held.vt = VT_RECORD;
    held.brecord.pRecInfo = static_cast<IRecordInfo*>(record->object);
    held.brecord.pvRecord = record->recordData;
    return SUCCEEDED(VariantCopy(&out, &held));
  }
  IUnknown* object = record ? record->object : nullptr;
  if (declared == VT_UNKNOWN) {
    oleaut::SetUnknown(out, object);
    return true;
  }
  if (declared == VT_DISPATCH && object) {
    ComPtr<IDispatch> dispatch;
    if (SUCCEEDED(object->QueryInterface(IID_IDispatch, dispatch.PutVoid()))) {
      oleaut::SetDispatch(out, dispatch.Get());
      return true;
    }
  }
  oleaut::SetUnknown(out, nullptr);
  return true;
}

// The arguments of one call: the array Invoke reads (last argument first) and the slots
// that by-reference parameters point into.
class ArgumentList {
 public:
  ~ArgumentList() {
    for (VARIANT& v : values_) Clear(v);
    for (VARIANT& v : slots_) Clear(v);
  }

  std::int32_t Build(const BoundMember& member, const CommandArg* args, std::size_t count) {
    values_.resize(count);
    for (VARIANT& v : values_) VariantInit(&v);
    for (std::size_t i = 0; i < count; ++i) {
      std::size_t p = std::min(i, member.paramCount() - 1);
      DeclaredType declared = Declared(member.typeInfo(), member.param(p));
      VARIANT& target = values_[count - 1 - i];
      std::int32_t failure = Convert(args[i], i, declared, member.param(p), target);
      if (failure) return failure;
    }
    return code::Success;
  }

  // Writes the outputs of by-reference parameters back into the caller's variables.
  void WriteBack(const CommandArg* args) {
    for (const Output& output : outputs_) {
      const CommandArg& arg = args[output.argument];
      StoreInVariable(slots_[output.slot], BaseType(arg.type), ArgPointer(arg));
    }
  }

  VARIANT* data() { return values_.data(); }
  UINT size() const { return static_cast<UINT>(values_.size()); }

 private:
  struct Output {
    std::size_t argument;
    std::size_t slot;
  };

  std::int32_t Convert(const CommandArg& arg, std::size_t index, const DeclaredType& declared,
                       const ELEMDESC& param, VARIANT& target) {
    VARIANT value;
    VariantInit(&value);
    if (!IsOmitted(arg)) {
      CommandArg plain = ValueOf(arg);
      if (plain.type == types::ComObject) {
        if (!ComObjectToVariant(static_cast<ComObjectRecord*>(ArgPointer(plain)), declared.vt, value)) {
          return code::UnpassableArgument;
        }
      } else if (!ProgramToVariant(plain, value)) {
        return code::UnpassableArgument;
      }
    }
    if (value.vt == VT_EMPTY) {
      oleaut::SetMissing(target);  // the standard omitted optional argument
      return code::Success;
    }
    if (!declared.byReference || value.vt == VT_ERROR) {
      target = value;
      return code::Success;
    }

    // By reference: the value goes into a slot of its own, the argument points to it.
    std::size_t slot = slots_.size();
    slots_.push_back(value);
    VARIANT& held = slots_.back();
    if (declared.vt == VT_VARIANT) {
      target.vt = VT_BYREF | VT_VARIANT;
      target.pvarVal = &held;
    } else if ((declared.vt & VT_ARRAY) && (held.vt & VT_ARRAY)) {
      target.vt = static_cast<VARTYPE>(VT_BYREF | held.vt);
      target.pparray = &held.parray;
    } else if (declared.vt != VT_RECORD && held.vt != VT_RECORD &&
               SUCCEEDED(VariantChangeType(&held, &held, 0, declared.vt))) {
      target.vt = static_cast<VARTYPE>(VT_BYREF | held.vt);
      target.byref = &held.llVal;  // every by-reference member of the union shares this place
    } else {
      VariantCopy(&target, &held);  // the value itself
    }
    if ((param.paramdesc.wParamFlags & PARAMFLAG_FOUT) && IsHeldElsewhere(arg.type)) {
      outputs_.push_back({index, slot});
    }
    return code::Success;
  }

  static void Clear(VARIANT& v) {
    if (v.vt & VT_BYREF) {
      VariantInit(&v);  // points into a slot
      return;
    }
    VariantClear(&v);
  }

  std::vector<VARIANT> values_;
  std::deque<VARIANT> slots_;  // a deque: pointers into it stay valid while it grows
  std::vector<Output> outputs_;
};

std::int32_t Call(const CommandArg* args, std::size_t count, CallKind kind, WantedResult wanted,
                  CommandResult* result, const char* name, IUnknown* object) {
  ComPtr<IDispatch> dispatch;
  if (FAILED(object->QueryInterface(IID_IDispatch, dispatch.PutVoid())) || !dispatch) return code::NoDispatch;
  LCID lcid = GetUserDefaultLCID();
  ComPtr<ITypeInfo> typeInfo;
  ComPtr<ITypeComp> comp;
  if (FAILED(dispatch->GetTypeInfo(0, lcid, typeInfo.Put())) || !typeInfo ||
      FAILED(typeInfo->GetTypeComp(comp.Put())) || !comp) {
    return code::NoTypeInformation;
  }

  std::u16string wideName = codepage::GbkToUtf16(name);
  ULONG hash = LHashValOfNameSysA(SYS_WIN32, lcid, name);
  BoundMember member;
  if (!member.Bind(comp.Get(), wideName, hash, kind)) return code::NotAMember;

  while (count > 0 && IsOmitted(args[count - 1])) --count;  // trailing arguments left out
  if (count > member.paramCount() && !member.varargs()) return code::TooManyArguments;

  ArgumentList list;
  if (std::int32_t failure = list.Build(member, args, count)) return failure;

  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{list.data(), nullptr, list.size(), 0};
  bool put = (member.flags() & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  if (put) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  OwnedVariant returned;
  UINT argumentError = 0;
  HRESULT hr = dispatch->Invoke(member.member(), IID_NULL, lcid, member.flags(), &params,
                                put ? nullptr : returned.get(), nullptr, &argumentError);
  if (FAILED(hr)) return InvokeFailureCode(hr);

  list.WriteBack(args);
  switch (wanted) {
    case WantedResult::None: return code::Success;
    case WantedResult::Variant:
      SetPointerResult(result, VariantToNewVariantBlock(*returned), types::Variant);
      return code::Success;
    case WantedResult::Text: {
      Text text = nullptr;
      if (!VariantToText(*returned, &text)) return code::UnconvertibleResult;
      SetPointerResult(result, text, types::Text);
      return code::Success;
    }
    case WantedResult::Double: {
      double number = 0;
      if (!VariantToDouble(*returned, &number)) return code::UnconvertibleResult;
      SetDoubleResult(result, number);
      return code::Success;
    }
  }
  return code::Success;
}

void SetEmptyResult(CommandResult* result, WantedResult wanted) {
  switch (wanted) {
    case WantedResult::None: break;
    case WantedResult::Variant: SetPointerResult(result, NewVariantBlock(), types::Variant); break;
    case WantedResult::Text: SetPointerResult(result, nullptr, types::Text); break;
    case WantedResult::Double: SetDoubleResult(result, 0); break;
  }
}

}  // namespace

void AutomationCall(CommandResult* result, std::int32_t argc, CommandArg* args, CallKind kind,
                    WantedResult wanted) {
  std::int32_t outcome = code::EmptyObject;
  ComObjectRecord* record = argc >= 1 ? ComObjectOf(args[0]) : nullptr;
  if (record && record->object && argc >= 2) {
    const char* name = BaseType(args[1].type) == types::Text ? ArgText(ValueOf(args[1])) : nullptr;
    outcome = Call(args + 2, static_cast<std::size_t>(argc - 2), kind, wanted, result, name ? name : "",
                   record->object);
  }
  SetLastComError(outcome);
  if (outcome != code::Success) SetEmptyResult(result, wanted);
}

}  // namespace runtime::automation
