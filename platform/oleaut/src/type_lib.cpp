// ITypeLib and the library's ITypeComp.
#include <cstring>

#include "name_compare.h"
#include "type_model.h"

namespace oleaut::detail {

namespace {

// Rewrites a caller's name buffer in the library's spelling (the same length).
void CopyCase(LPOLESTR buffer, std::u16string_view spelling) {
  std::memcpy(buffer, spelling.data(), spelling.size() * sizeof(char16_t));
}

bool IsTypeCompKind(TYPEKIND kind) {
  return kind == TKIND_ENUM || kind == TKIND_MODULE || kind == TKIND_COCLASS;
}

}  // namespace

HRESULT TypeLibImpl::ResolveRef(HREFTYPE ref, ITypeInfo** typeInfo) {
  if (!typeInfo) return E_INVALIDARG;
  *typeInfo = nullptr;
  ITypeInfo* found = nullptr;
  if (ref & kExternalRef) {
    const HREFTYPE index = ref & ~kExternalRef;
    if (index < externals.size()) found = externals[index].Get();
  } else if (ref < types.size()) {
    found = types[ref].get();
  }
  if (!found) return TYPE_E_ELEMENTNOTFOUND;
  found->AddRef();
  *typeInfo = found;
  return S_OK;
}

TypeInfoImpl* TypeLibImpl::FindType(std::u16string_view typeName) const {
  for (const auto& type : types) {
    if (NamesEqual(type->name, typeName)) return type.get();
  }
  return nullptr;
}

HRESULT TypeLibImpl::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ITypeLib)) {
    *object = static_cast<ITypeLib*>(this);
  } else if (IsEqualIID(riid, IID_ITypeComp)) {
    *object = static_cast<ITypeComp*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG TypeLibImpl::AddRef() { return ++refs_; }

ULONG TypeLibImpl::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

UINT TypeLibImpl::GetTypeInfoCount() { return static_cast<UINT>(types.size()); }

HRESULT TypeLibImpl::GetTypeInfo(UINT index, ITypeInfo** typeInfo) {
  if (!typeInfo) return E_INVALIDARG;
  *typeInfo = nullptr;
  if (index >= types.size()) return TYPE_E_ELEMENTNOTFOUND;
  return ResolveRef(index, typeInfo);
}

HRESULT TypeLibImpl::GetTypeInfoType(UINT index, TYPEKIND* kind) {
  if (!kind) return E_INVALIDARG;
  if (index >= types.size()) return TYPE_E_ELEMENTNOTFOUND;
  *kind = types[index]->kind;
  return S_OK;
}

HRESULT TypeLibImpl::GetTypeInfoOfGuid(REFGUID guid, ITypeInfo** typeInfo) {
  if (!typeInfo) return E_INVALIDARG;
  *typeInfo = nullptr;
  if (IsEqualGUID(guid, GUID_NULL)) return TYPE_E_ELEMENTNOTFOUND;
  for (const auto& type : types) {
    if (IsEqualGUID(type->guid, guid)) return ResolveRef(type->index(), typeInfo);
  }
  return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT TypeLibImpl::GetLibAttr(TLIBATTR** attr) {
  if (!attr) return E_INVALIDARG;
  *attr = new TLIBATTR{libid, lcid, SYS_WIN32, major, minor, 0};
  return S_OK;
}

void TypeLibImpl::ReleaseTLibAttr(TLIBATTR* attr) { delete attr; }

HRESULT TypeLibImpl::GetTypeComp(ITypeComp** comp) {
  if (!comp) return E_INVALIDARG;
  *comp = static_cast<ITypeComp*>(this);
  AddRef();
  return S_OK;
}

HRESULT TypeLibImpl::GetDocumentation(INT index, BSTR* nameOut, BSTR* docOut,
                                      DWORD* helpContext, BSTR* helpFile) {
  if (index == -1) {
    if (helpContext) *helpContext = 0;
    if (helpFile) *helpFile = nullptr;
    if (docOut) *docOut = doc.empty() ? nullptr : AllocBstr(doc);
    if (nameOut) *nameOut = AllocBstr(name);
    return S_OK;
  }
  if (index < 0 || static_cast<std::size_t>(index) >= types.size()) {
    return TYPE_E_ELEMENTNOTFOUND;
  }
  return types[index]->GetDocumentation(MEMBERID_NIL, nameOut, docOut, helpContext, helpFile);
}

HRESULT TypeLibImpl::IsName(LPOLESTR nameIn, ULONG, BOOL* found) {
  if (!nameIn || !found) return E_INVALIDARG;
  *found = FALSE;
  const std::u16string_view wanted(nameIn);
  auto check = [&](const std::u16string& spelling) {
    if (*found || !NamesEqual(spelling, wanted)) return;
    CopyCase(nameIn, spelling);
    *found = TRUE;
  };
  for (const auto& type : types) {
    check(type->name);
    for (const FuncData& func : type->funcs) {
      check(func.name);
      for (const ParamData& param : func.params) check(param.name);
    }
    for (const VarData& var : type->vars) check(var.name);
  }
  return S_OK;
}

HRESULT TypeLibImpl::FindName(LPOLESTR nameIn, ULONG, ITypeInfo** typeInfos, MEMBERID* ids,
                              USHORT* found) {
  if (!nameIn || !typeInfos || !ids || !found || *found == 0) return E_INVALIDARG;
  const USHORT room = *found;
  USHORT count = 0;
  const std::u16string_view wanted(nameIn);
  auto add = [&](TypeInfoImpl& type, MEMBERID id, const std::u16string& spelling) {
    if (count >= room) return;
    CopyCase(nameIn, spelling);
    type.AddRef();
    typeInfos[count] = static_cast<ITypeInfo*>(&type);
    ids[count] = id;
    ++count;
  };
  // Types first, so that a type is found before members of the same name.
  for (const auto& type : types) {
    if (NamesEqual(type->name, wanted)) add(*type, MEMBERID_NIL, type->name);
  }
  for (const auto& type : types) {
    std::vector<MEMBERID> seen;  // a property's get and put are one member
    for (const FuncData& func : type->funcs) {
      if (!NamesEqual(func.name, wanted)) continue;
      bool already = false;
      for (MEMBERID id : seen) already = already || id == func.id;
      if (already) continue;
      seen.push_back(func.id);
      add(*type, func.id, func.name);
    }
    for (const VarData& var : type->vars) {
      if (NamesEqual(var.name, wanted)) add(*type, var.id, var.name);
    }
  }
  *found = count;
  return S_OK;
}

HRESULT TypeLibImpl::Bind(LPOLESTR nameIn, ULONG hash, WORD flags, ITypeInfo** typeInfo,
                          DESCKIND* descKind, BINDPTR* bound) {
  if (!nameIn || !typeInfo || !descKind || !bound) return E_INVALIDARG;
  *typeInfo = nullptr;
  *descKind = DESCKIND_NONE;
  bound->lpfuncdesc = nullptr;
  const std::u16string_view wanted(nameIn);
  for (const auto& type : types) {
    if (IsTypeCompKind(type->kind) && NamesEqual(type->name, wanted)) {
      type->AddRef();
      bound->lptcomp = static_cast<ITypeComp*>(type.get());
      *descKind = DESCKIND_TYPECOMP;
      return S_OK;
    }
  }
  // Enumeration constants are visible at library level.
  for (const auto& type : types) {
    if (type->kind != TKIND_ENUM) continue;
    for (const VarData& var : type->vars) {
      if (NamesEqual(var.name, wanted)) {
        return type->Bind(nameIn, hash, flags, typeInfo, descKind, bound);
      }
    }
  }
  return S_OK;
}

HRESULT TypeLibImpl::BindType(LPOLESTR nameIn, ULONG, ITypeInfo** typeInfo, ITypeComp** comp) {
  if (!nameIn || !typeInfo || !comp) return E_INVALIDARG;
  *typeInfo = nullptr;
  *comp = nullptr;
  if (TypeInfoImpl* type = FindType(nameIn)) {
    type->AddRef();
    *typeInfo = static_cast<ITypeInfo*>(type);
  }
  return S_OK;
}

}  // namespace oleaut::detail
