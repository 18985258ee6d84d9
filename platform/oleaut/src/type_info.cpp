// ITypeInfo and ITypeComp of the type libraries made here.
#include "name_compare.h"
#include "oleaut/ole32.h"
#include "type_model.h"

namespace oleaut::detail {

namespace {

HRESULT StoreName(std::u16string_view text, BSTR* out) {
  if (!out) return S_OK;
  *out = AllocBstr(text);
  return *out ? S_OK : E_OUTOFMEMORY;
}

bool BindsVariable(WORD flags) {
  return flags == 0 ||
         (flags & (INVOKE_PROPERTYGET | INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF)) != 0;
}

}  // namespace

TypeInfoImpl* AsTypeInfoImpl(ITypeInfo* typeInfo) {
  if (!typeInfo) return nullptr;
  void* ours = nullptr;
  if (FAILED(typeInfo->QueryInterface(IID_PanliftTypeInfo, &ours)) || !ours) return nullptr;
  auto* impl = static_cast<TypeInfoImpl*>(ours);
  impl->Release();  // the caller's reference keeps it alive
  return impl;
}

HRESULT TypeInfoImpl::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ITypeInfo)) {
    *object = static_cast<ITypeInfo*>(this);
  } else if (IsEqualIID(riid, IID_ITypeComp)) {
    *object = static_cast<ITypeComp*>(this);
  } else if (IsEqualIID(riid, IID_PanliftTypeInfo)) {
    *object = this;
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG TypeInfoImpl::AddRef() { return lib_.AddRef(); }
ULONG TypeInfoImpl::Release() { return lib_.Release(); }

HRESULT TypeInfoImpl::GetTypeAttr(TYPEATTR** attr) {
  if (!attr) return E_INVALIDARG;
  *attr = CopyTypeAttr(*this);
  return S_OK;
}

HRESULT TypeInfoImpl::GetTypeComp(ITypeComp** comp) {
  if (!comp) return E_INVALIDARG;
  *comp = static_cast<ITypeComp*>(this);
  AddRef();
  return S_OK;
}

HRESULT TypeInfoImpl::GetFuncDesc(UINT index, FUNCDESC** desc) {
  if (!desc) return E_INVALIDARG;
  *desc = nullptr;
  if (index >= funcs.size()) return TYPE_E_ELEMENTNOTFOUND;
  *desc = CopyFuncDesc(funcs[index]);
  return S_OK;
}

HRESULT TypeInfoImpl::GetVarDesc(UINT index, VARDESC** desc) {
  if (!desc) return E_INVALIDARG;
  *desc = nullptr;
  if (index >= vars.size()) return TYPE_E_ELEMENTNOTFOUND;
  *desc = CopyVarDesc(vars[index]);
  return S_OK;
}

HRESULT TypeInfoImpl::GetNames(MEMBERID member, BSTR* names, UINT maxNames, UINT* count) {
  if (!names || !count) return E_INVALIDARG;
  *count = 0;
  std::vector<const std::u16string*> found;
  for (const FuncData& func : funcs) {
    if (func.id != member) continue;
    found.push_back(&func.name);
    for (const ParamData& param : func.params) found.push_back(&param.name);
    break;
  }
  if (found.empty()) {
    for (const VarData& var : vars) {
      if (var.id == member) {
        found.push_back(&var.name);
        break;
      }
    }
  }
  if (found.empty()) return TYPE_E_ELEMENTNOTFOUND;
  for (UINT i = 0; i < found.size() && i < maxNames; ++i) {
    if (FAILED(StoreName(*found[i], &names[i]))) return E_OUTOFMEMORY;
    ++*count;
  }
  return S_OK;
}

HRESULT TypeInfoImpl::GetRefTypeOfImplType(UINT index, HREFTYPE* ref) {
  if (!ref) return E_INVALIDARG;
  if (index >= impls.size()) return TYPE_E_ELEMENTNOTFOUND;
  *ref = impls[index].href;
  return S_OK;
}

HRESULT TypeInfoImpl::GetImplTypeFlags(UINT index, INT* flags) {
  if (!flags) return E_INVALIDARG;
  if (index >= impls.size()) return TYPE_E_ELEMENTNOTFOUND;
  *flags = impls[index].flags;
  return S_OK;
}

HRESULT TypeInfoImpl::GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids) {
  if (!names || !ids || count == 0) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i) ids[i] = MEMBERID_NIL;
  if (!names[0]) return E_INVALIDARG;
  const std::u16string_view wanted(names[0]);
  bool found = false;
  for (const FuncData& func : funcs) {
    if (!found && NamesEqual(func.name, wanted)) {
      ids[0] = func.id;
      found = true;
    }
  }
  for (const VarData& var : vars) {
    if (!found && NamesEqual(var.name, wanted)) {
      ids[0] = var.id;
      found = true;
    }
  }
  if (!found) return DISP_E_UNKNOWNNAME;
  HRESULT hr = S_OK;
  for (UINT i = 1; i < count; ++i) {
    bool paramFound = false;
    for (const FuncData& func : funcs) {
      if (func.id != ids[0] || !names[i]) continue;
      for (std::size_t p = 0; p < func.params.size() && !paramFound; ++p) {
        if (NamesEqual(func.params[p].name, names[i])) {
          ids[i] = static_cast<MEMBERID>(p);
          paramFound = true;
        }
      }
      if (paramFound) break;
    }
    if (!paramFound) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT TypeInfoImpl::Invoke(void* instance, MEMBERID member, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
  if (!instance) return E_INVALIDARG;
  if (kind != TKIND_DISPATCH) return TYPE_E_WRONGTYPEKIND;
  return static_cast<IDispatch*>(instance)->Invoke(member, IID_NULL, GetUserDefaultLCID(), flags,
                                                    params, result, exception, argumentError);
}

HRESULT TypeInfoImpl::GetDocumentation(MEMBERID member, BSTR* nameOut, BSTR* docOut,
                                       DWORD* helpContext, BSTR* helpFile) {
  const std::u16string* memberName = nullptr;
  const std::u16string* memberDoc = nullptr;
  if (member == MEMBERID_NIL) {
    memberName = &name;
    memberDoc = &doc;
  } else {
    for (const FuncData& func : funcs) {
      if (func.id == member) {
        memberName = &func.name;
        memberDoc = &func.doc;
        break;
      }
    }
    for (const VarData& var : vars) {
      if (!memberName && var.id == member) {
        memberName = &var.name;
        memberDoc = &var.doc;
      }
    }
  }
  if (!memberName) return TYPE_E_ELEMENTNOTFOUND;
  if (helpContext) *helpContext = 0;
  if (helpFile) *helpFile = nullptr;
  if (docOut) *docOut = memberDoc->empty() ? nullptr : AllocBstr(*memberDoc);
  return StoreName(*memberName, nameOut);
}

HRESULT TypeInfoImpl::GetDllEntry(MEMBERID, INVOKEKIND, BSTR* dll, BSTR* entry, WORD* ordinal) {
  if (dll) *dll = nullptr;
  if (entry) *entry = nullptr;
  if (ordinal) *ordinal = 0;
  return TYPE_E_BADMODULEKIND;
}

HRESULT TypeInfoImpl::GetRefTypeInfo(HREFTYPE ref, ITypeInfo** typeInfo) {
  return lib_.ResolveRef(ref, typeInfo);
}

HRESULT TypeInfoImpl::AddressOfMember(MEMBERID, INVOKEKIND, void** address) {
  if (address) *address = nullptr;
  return TYPE_E_BADMODULEKIND;
}

HRESULT TypeInfoImpl::CreateInstance(IUnknown* outer, REFIID riid, void** object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  if (kind != TKIND_COCLASS) return TYPE_E_WRONGTYPEKIND;
  return CoCreateInstance(guid, outer, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER |
                                           CLSCTX_LOCAL_SERVER, riid, object);
}

HRESULT TypeInfoImpl::GetMops(MEMBERID, BSTR* mops) {
  if (!mops) return E_INVALIDARG;
  *mops = nullptr;
  return S_OK;
}

HRESULT TypeInfoImpl::GetContainingTypeLib(ITypeLib** lib, UINT* index) {
  if (lib) {
    *lib = &lib_;
    lib_.AddRef();
  }
  if (index) *index = index_;
  return S_OK;
}

void TypeInfoImpl::ReleaseTypeAttr(TYPEATTR* attr) { FreeTypeAttr(attr); }
void TypeInfoImpl::ReleaseFuncDesc(FUNCDESC* desc) { FreeFuncDesc(desc); }
void TypeInfoImpl::ReleaseVarDesc(VARDESC* desc) { FreeVarDesc(desc); }

// The hash only narrows a search; names decide, so a hash of 0 (or of another locale)
// binds as well.
HRESULT TypeInfoImpl::Bind(LPOLESTR nameIn, ULONG, WORD flags, ITypeInfo** typeInfo,
                           DESCKIND* descKind, BINDPTR* bound) {
  if (!nameIn || !typeInfo || !descKind || !bound) return E_INVALIDARG;
  *typeInfo = nullptr;
  *descKind = DESCKIND_NONE;
  bound->lpfuncdesc = nullptr;
  const std::u16string_view wanted(nameIn);
  bool nameSeen = false;
  for (const FuncData& func : funcs) {
    if (!NamesEqual(func.name, wanted)) continue;
    nameSeen = true;
    if (flags == 0 || (func.kind & flags)) {
      bound->lpfuncdesc = CopyFuncDesc(func);
      *descKind = DESCKIND_FUNCDESC;
      *typeInfo = static_cast<ITypeInfo*>(this);
      AddRef();
      return S_OK;
    }
  }
  for (const VarData& var : vars) {
    if (!NamesEqual(var.name, wanted)) continue;
    nameSeen = true;
    if (BindsVariable(flags)) {
      bound->lpvardesc = CopyVarDesc(var);
      *descKind = DESCKIND_VARDESC;
      *typeInfo = static_cast<ITypeInfo*>(this);
      AddRef();
      return S_OK;
    }
  }
  return nameSeen ? TYPE_E_TYPEMISMATCH : S_OK;
}

HRESULT TypeInfoImpl::BindType(LPOLESTR nameIn, ULONG, ITypeInfo** typeInfo, ITypeComp** comp) {
  if (!nameIn || !typeInfo || !comp) return E_INVALIDARG;
  *typeInfo = nullptr;
  *comp = nullptr;
  return S_OK;  // a type's members are no types
}

}  // namespace oleaut::detail
