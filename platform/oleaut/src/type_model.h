// The type libraries made here (by TypeLibBuilder or from a file): one TypeLibImpl owns
// its TypeInfoImpls, which share its reference count, so types may refer to each other
// (and to themselves) without reference cycles.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "oleaut/com_ptr.h"
#include "oleaut/typeinfo_builder.h"

namespace oleaut::detail {

// A declared type, shaped like a TYPEDESC.
struct DeclType {
  VARTYPE vt = VT_VOID;
  std::shared_ptr<const DeclType> inner;  // VT_PTR, VT_SAFEARRAY, VT_CARRAY
  std::vector<SAFEARRAYBOUND> bounds;     // VT_CARRAY
  HREFTYPE href = 0;                      // VT_USERDEFINED
};

struct ParamData {
  std::u16string name;
  DeclType type;
  USHORT flags = PARAMFLAG_FIN;
  OwnedVariant defaultValue;  // converted to the declared type
};

struct FuncData {
  std::u16string name;
  MEMBERID id = 0;
  INVOKEKIND kind = INVOKE_FUNC;
  std::vector<ParamData> params;
  DeclType result;
  SHORT optionalCount = 0;  // cParamsOpt; -1 for a variable argument list
  WORD flags = 0;
  std::u16string doc;
  MemberHandler handler;

  bool HasRetval() const {
    return !params.empty() && (params.back().flags & PARAMFLAG_FRETVAL);
  }
};

struct VarData {
  std::u16string name;
  MEMBERID id = 0;
  VARKIND kind = VAR_DISPATCH;
  DeclType type;
  WORD flags = 0;
  OwnedVariant value;  // VAR_CONST
  ULONG offset = 0;    // VAR_PERINSTANCE
  std::u16string doc;
  MemberHandler getter;
  MemberHandler setter;
  ParamData valueParam;  // what a put passes
};

struct ImplData {
  HREFTYPE href = 0;
  INT flags = 0;
};

class TypeLibImpl;

// Private interface id through which this library recognises its own type information.
inline constexpr IID IID_PanliftTypeInfo{
    0x5041'4E4C, 0x4946, 0x5459, {0x50, 0x45, 0x49, 0x4E, 0x46, 0x4F, 0x00, 0x01}};

class TypeInfoImpl final : public ITypeInfo, public ITypeComp {
 public:
  TypeInfoImpl(TypeLibImpl& lib, UINT index) : lib_(lib), index_(index) {}

  TYPEKIND kind = TKIND_DISPATCH;
  std::u16string name;
  GUID guid{};
  WORD typeFlags = 0;
  std::u16string doc;
  std::vector<FuncData> funcs;
  std::vector<VarData> vars;
  std::vector<ImplData> impls;
  DeclType aliased;
  ULONG instanceSize = 0;
  WORD alignment = 4;

  TypeLibImpl& lib() const { return lib_; }
  UINT index() const { return index_; }

  // IUnknown (shared with the library)
  HRESULT QueryInterface(REFIID riid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;

  // ITypeInfo
  HRESULT GetTypeAttr(TYPEATTR** attr) override;
  HRESULT GetTypeComp(ITypeComp** comp) override;
  HRESULT GetFuncDesc(UINT index, FUNCDESC** desc) override;
  HRESULT GetVarDesc(UINT index, VARDESC** desc) override;
  HRESULT GetNames(MEMBERID member, BSTR* names, UINT maxNames, UINT* count) override;
  HRESULT GetRefTypeOfImplType(UINT index, HREFTYPE* ref) override;
  HRESULT GetImplTypeFlags(UINT index, INT* flags) override;
  HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids) override;
  HRESULT Invoke(void* instance, MEMBERID member, WORD flags, DISPPARAMS* params,
                 VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;
  HRESULT GetDocumentation(MEMBERID member, BSTR* name, BSTR* doc, DWORD* helpContext,
                           BSTR* helpFile) override;
  HRESULT GetDllEntry(MEMBERID member, INVOKEKIND kind, BSTR* dll, BSTR* name,
                      WORD* ordinal) override;
  HRESULT GetRefTypeInfo(HREFTYPE ref, ITypeInfo** typeInfo) override;
  HRESULT AddressOfMember(MEMBERID member, INVOKEKIND kind, void** address) override;
  HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
  HRESULT GetMops(MEMBERID member, BSTR* mops) override;
  HRESULT GetContainingTypeLib(ITypeLib** lib, UINT* index) override;
  void ReleaseTypeAttr(TYPEATTR* attr) override;
  void ReleaseFuncDesc(FUNCDESC* desc) override;
  void ReleaseVarDesc(VARDESC* desc) override;

  // ITypeComp
  HRESULT Bind(LPOLESTR name, ULONG hash, WORD flags, ITypeInfo** typeInfo, DESCKIND* kind,
               BINDPTR* bound) override;
  HRESULT BindType(LPOLESTR name, ULONG hash, ITypeInfo** typeInfo, ITypeComp** comp) override;

 private:
  TypeLibImpl& lib_;
  UINT index_;
};

class TypeLibImpl final : public ITypeLib, public ITypeComp {
 public:
  std::u16string name;
  GUID libid{};
  WORD major = 1;
  WORD minor = 0;
  LCID lcid = 0;
  std::u16string doc;
  std::vector<std::unique_ptr<TypeInfoImpl>> types;
  std::vector<ComPtr<ITypeInfo>> externals;  // referred to as kExternalRef | index

  static constexpr HREFTYPE kExternalRef = 0x80000000u;

  HRESULT ResolveRef(HREFTYPE ref, ITypeInfo** typeInfo);
  TypeInfoImpl* FindType(std::u16string_view typeName) const;

  // IUnknown
  HRESULT QueryInterface(REFIID riid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;

  // ITypeLib
  UINT GetTypeInfoCount() override;
  HRESULT GetTypeInfo(UINT index, ITypeInfo** typeInfo) override;
  HRESULT GetTypeInfoType(UINT index, TYPEKIND* kind) override;
  HRESULT GetTypeInfoOfGuid(REFGUID guid, ITypeInfo** typeInfo) override;
  HRESULT GetLibAttr(TLIBATTR** attr) override;
  HRESULT GetTypeComp(ITypeComp** comp) override;
  HRESULT GetDocumentation(INT index, BSTR* name, BSTR* doc, DWORD* helpContext,
                           BSTR* helpFile) override;
  HRESULT IsName(LPOLESTR name, ULONG hash, BOOL* found) override;
  HRESULT FindName(LPOLESTR name, ULONG hash, ITypeInfo** typeInfos, MEMBERID* ids,
                   USHORT* found) override;
  void ReleaseTLibAttr(TLIBATTR* attr) override;

  // ITypeComp
  HRESULT Bind(LPOLESTR name, ULONG hash, WORD flags, ITypeInfo** typeInfo, DESCKIND* kind,
               BINDPTR* bound) override;
  HRESULT BindType(LPOLESTR name, ULONG hash, ITypeInfo** typeInfo, ITypeComp** comp) override;

 private:
  std::atomic<ULONG> refs_{1};
};

// TypeLibBuilder::Build over a description (throws std::invalid_argument).
ComPtr<ITypeLib> BuildLibrary(const LibSpec& spec);

// Our own type information behind an ITypeInfo, or null (no reference is taken: the caller
// keeps the ITypeInfo alive).
TypeInfoImpl* AsTypeInfoImpl(ITypeInfo* typeInfo);

// Descriptions handed out as copies (desc_copy.cpp).
FUNCDESC* CopyFuncDesc(const FuncData& func);
void FreeFuncDesc(FUNCDESC* desc);
VARDESC* CopyVarDesc(const VarData& var);
void FreeVarDesc(VARDESC* desc);
TYPEATTR* CopyTypeAttr(const TypeInfoImpl& type);
void FreeTypeAttr(TYPEATTR* attr);

// What a declared type comes to as a VARIANT type: VT_INT is VT_I4, VT_UINT VT_UI4, an
// enumeration VT_I4, an alias its aliased type, a dispatch interface or coclass
// VT_DISPATCH, another interface VT_UNKNOWN, a record VT_RECORD, an array VT_ARRAY with its
// element's type; a pointer its pointee. `typeInfo` resolves user-defined types.
VARTYPE ResolveVarType(const DeclType& type, ITypeInfo* typeInfo);
VARTYPE ResolveTypeDesc(const TYPEDESC& type, ITypeInfo* typeInfo);

}  // namespace oleaut::detail
