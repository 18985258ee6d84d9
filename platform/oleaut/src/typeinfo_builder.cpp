// The fluent description side of TypeLibBuilder; Build() is in typelib_build.cpp.
#include "oleaut/typeinfo_builder.h"

#include "name_compare.h"

namespace oleaut {

TypeSpec TypeSpec::Ptr(const TypeSpec& pointee) {
  TypeSpec spec(VT_PTR);
  spec.inner_ = std::make_shared<const TypeSpec>(pointee);
  return spec;
}

TypeSpec TypeSpec::SafeArray(const TypeSpec& element) {
  TypeSpec spec(VT_SAFEARRAY);
  spec.inner_ = std::make_shared<const TypeSpec>(element);
  return spec;
}

TypeSpec TypeSpec::CArray(const TypeSpec& element, std::vector<SAFEARRAYBOUND> bounds) {
  TypeSpec spec(VT_CARRAY);
  spec.inner_ = std::make_shared<const TypeSpec>(element);
  spec.bounds_ = std::move(bounds);
  return spec;
}

TypeSpec TypeSpec::Named(std::u16string typeName) {
  TypeSpec spec(VT_USERDEFINED);
  spec.name_ = std::move(typeName);
  return spec;
}

TypeSpec TypeSpec::Of(ITypeInfo* typeInfo) {
  TypeSpec spec(VT_USERDEFINED);
  spec.external_ = ComPtr<ITypeInfo>(typeInfo);
  return spec;
}

MemberBuilder& MemberBuilder::Id(DISPID id) {
  spec_->id = id;
  return *this;
}

MemberBuilder& MemberBuilder::Param(ParamSpec param) {
  auto& params = spec_->params;
  // A property put's value stays the last parameter.
  const bool put = spec_->kind == INVOKE_PROPERTYPUT || spec_->kind == INVOKE_PROPERTYPUTREF;
  params.insert(put && !params.empty() ? params.end() - 1 : params.end(), std::move(param));
  return *this;
}

MemberBuilder& MemberBuilder::Param(std::u16string name, TypeSpec type, USHORT flags) {
  return Param(ParamSpec{std::move(name), std::move(type), flags, {}});
}

MemberBuilder& MemberBuilder::Optional(std::u16string name, TypeSpec type) {
  return Param(std::move(name), std::move(type), PARAMFLAG_FIN | PARAMFLAG_FOPT);
}

MemberBuilder& MemberBuilder::Default(std::u16string name, TypeSpec type, OwnedVariant value) {
  return Param(ParamSpec{std::move(name), std::move(type),
                         PARAMFLAG_FIN | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT,
                         std::move(value)});
}

MemberBuilder& MemberBuilder::Out(std::u16string name, TypeSpec pointee) {
  return Param(std::move(name), TypeSpec::Ptr(pointee), PARAMFLAG_FOUT);
}

MemberBuilder& MemberBuilder::InOut(std::u16string name, TypeSpec pointee) {
  return Param(std::move(name), TypeSpec::Ptr(pointee), PARAMFLAG_FIN | PARAMFLAG_FOUT);
}

MemberBuilder& MemberBuilder::Retval(std::u16string name, TypeSpec pointee) {
  spec_->result = VT_HRESULT;
  return Param(std::move(name), TypeSpec::Ptr(pointee), PARAMFLAG_FOUT | PARAMFLAG_FRETVAL);
}

MemberBuilder& MemberBuilder::VarArgs(std::u16string name) {
  spec_->varargs = true;
  return Param(std::move(name), TypeSpec::SafeArray(VT_VARIANT), PARAMFLAG_FIN);
}

MemberBuilder& MemberBuilder::Returns(TypeSpec type) {
  spec_->result = std::move(type);
  return *this;
}

MemberBuilder& MemberBuilder::Hidden() {
  spec_->flags |= FUNCFLAG_FHIDDEN;
  return *this;
}

MemberBuilder& MemberBuilder::Doc(std::u16string text) {
  spec_->doc = std::move(text);
  return *this;
}

MemberBuilder& MemberBuilder::Calls(MemberHandler handler) {
  spec_->handler = std::move(handler);
  return *this;
}

VariableBuilder& VariableBuilder::Id(DISPID id) {
  spec_->id = id;
  return *this;
}

VariableBuilder& VariableBuilder::ReadOnly() {
  spec_->flags |= VARFLAG_FREADONLY;
  return *this;
}

VariableBuilder& VariableBuilder::Hidden() {
  spec_->flags |= VARFLAG_FHIDDEN;
  return *this;
}

VariableBuilder& VariableBuilder::Doc(std::u16string text) {
  spec_->doc = std::move(text);
  return *this;
}

VariableBuilder& VariableBuilder::Getter(MemberHandler handler) {
  spec_->getter = std::move(handler);
  return *this;
}

VariableBuilder& VariableBuilder::Setter(MemberHandler handler) {
  spec_->setter = std::move(handler);
  return *this;
}

MemberBuilder& DispInterfaceBuilder::AddFunc(std::u16string name, INVOKEKIND kind) {
  detail::FuncSpec& spec = spec_->funcs.emplace_back();
  spec.name = std::move(name);
  spec.kind = kind;
  return members_.emplace_back(spec);
}

MemberBuilder& DispInterfaceBuilder::Method(std::u16string name) {
  return AddFunc(std::move(name), INVOKE_FUNC);
}

MemberBuilder& DispInterfaceBuilder::Get(std::u16string name, TypeSpec type) {
  return AddFunc(std::move(name), INVOKE_PROPERTYGET).Returns(std::move(type));
}

MemberBuilder& DispInterfaceBuilder::Put(std::u16string name, TypeSpec type) {
  MemberBuilder& member = AddFunc(std::move(name), INVOKE_PROPERTYPUT);
  spec_->funcs.back().params.push_back(ParamSpec{u"value", std::move(type), PARAMFLAG_FIN, {}});
  return member;
}

MemberBuilder& DispInterfaceBuilder::PutRef(std::u16string name, TypeSpec type) {
  MemberBuilder& member = AddFunc(std::move(name), INVOKE_PROPERTYPUTREF);
  spec_->funcs.back().params.push_back(ParamSpec{u"value", std::move(type), PARAMFLAG_FIN, {}});
  return member;
}

VariableBuilder& DispInterfaceBuilder::Variable(std::u16string name, TypeSpec type) {
  detail::VarSpec& spec = spec_->vars.emplace_back();
  spec.name = std::move(name);
  spec.type = std::move(type);
  return variables_.emplace_back(spec);
}

DispInterfaceBuilder& DispInterfaceBuilder::Hidden() {
  spec_->typeFlags |= TYPEFLAG_FHIDDEN;
  return *this;
}

DispInterfaceBuilder& DispInterfaceBuilder::Dual() {
  spec_->typeFlags |= TYPEFLAG_FDUAL;
  return *this;
}

DispInterfaceBuilder& DispInterfaceBuilder::Doc(std::u16string text) {
  spec_->doc = std::move(text);
  return *this;
}

EnumBuilder& EnumBuilder::Value(std::u16string name, LONG value) {
  detail::VarSpec& spec = spec_->vars.emplace_back();
  spec.name = std::move(name);
  spec.kind = VAR_CONST;
  spec.type = VT_I4;
  spec.value = OwnedVariant::I4(value);
  return *this;
}

EnumBuilder& EnumBuilder::Doc(std::u16string text) {
  spec_->doc = std::move(text);
  return *this;
}

RecordBuilder& RecordBuilder::Field(std::u16string name, TypeSpec type) {
  detail::VarSpec& spec = spec_->vars.emplace_back();
  spec.name = std::move(name);
  spec.kind = VAR_PERINSTANCE;
  spec.type = std::move(type);
  return *this;
}

CoClassBuilder& CoClassBuilder::Implements(std::u16string interfaceName, INT flags) {
  spec_->implemented.push_back(detail::ImplSpec{std::move(interfaceName), flags});
  return *this;
}

CoClassBuilder& CoClassBuilder::Doc(std::u16string text) {
  spec_->doc = std::move(text);
  return *this;
}

TypeLibBuilder::TypeLibBuilder(std::u16string name, GUID libid, WORD major, WORD minor) {
  spec_.name = std::move(name);
  spec_.libid = libid;
  spec_.major = major;
  spec_.minor = minor;
}

TypeLibBuilder& TypeLibBuilder::Lcid(LCID lcid) {
  spec_.lcid = lcid;
  return *this;
}

TypeLibBuilder& TypeLibBuilder::Doc(std::u16string text) {
  spec_.doc = std::move(text);
  return *this;
}

namespace {

detail::TypeDeclSpec& AddType(detail::LibSpec& lib, TYPEKIND kind, std::u16string name,
                              GUID guid) {
  detail::TypeDeclSpec& spec = lib.types.emplace_back();
  spec.kind = kind;
  spec.name = std::move(name);
  spec.guid = guid;
  return spec;
}

}  // namespace

DispInterfaceBuilder& TypeLibBuilder::DispInterface(std::u16string name, GUID iid) {
  detail::TypeDeclSpec& spec = AddType(spec_, TKIND_DISPATCH, std::move(name), iid);
  spec.typeFlags = TYPEFLAG_FDISPATCHABLE;
  return interfaces_.emplace_back(spec);
}

EnumBuilder& TypeLibBuilder::Enum(std::u16string name, GUID guid) {
  return enums_.emplace_back(AddType(spec_, TKIND_ENUM, std::move(name), guid));
}

TypeLibBuilder& TypeLibBuilder::Alias(std::u16string name, TypeSpec aliased) {
  AddType(spec_, TKIND_ALIAS, std::move(name), GUID_NULL).aliased = std::move(aliased);
  return *this;
}

RecordBuilder& TypeLibBuilder::Record(std::u16string name, GUID guid) {
  return records_.emplace_back(AddType(spec_, TKIND_RECORD, std::move(name), guid));
}

CoClassBuilder& TypeLibBuilder::CoClass(std::u16string name, CLSID clsid) {
  detail::TypeDeclSpec& spec = AddType(spec_, TKIND_COCLASS, std::move(name), clsid);
  spec.typeFlags = TYPEFLAG_FCANCREATE;
  return coclasses_.emplace_back(spec);
}

ComPtr<ITypeInfo> FindTypeInfo(ITypeLib* lib, std::u16string_view name) {
  if (!lib) return nullptr;
  const UINT count = lib->GetTypeInfoCount();
  for (UINT i = 0; i < count; ++i) {
    BSTR typeName = nullptr;
    if (FAILED(lib->GetDocumentation(static_cast<INT>(i), &typeName, nullptr, nullptr,
                                     nullptr))) {
      continue;
    }
    const bool match = detail::NamesEqual(BstrView(typeName), name);
    SysFreeString(typeName);
    if (match) {
      ComPtr<ITypeInfo> info;
      if (SUCCEEDED(lib->GetTypeInfo(i, info.Put()))) return info;
    }
  }
  return nullptr;
}

}  // namespace oleaut
