// Building type libraries in C++: dispatch interfaces with methods, properties and
// variables, enumerations, aliases, records and coclasses, described as completely as a
// type library compiled from IDL describes them. A member may carry its implementation (a
// MemberHandler), which DispatchObject (oleaut/std_dispatch.h) calls.
//
//   oleaut::TypeLibBuilder lib(u"ADODB", LIBID_ADODB);
//   lib.Enum(u"StreamTypeEnum").Value(u"adTypeBinary", 1).Value(u"adTypeText", 2);
//   auto& stream = lib.DispInterface(u"_Stream", IID__Stream);
//   stream.Get(u"Type", TypeSpec::Named(u"StreamTypeEnum")).Calls(&Stream::GetType);
//   stream.Method(u"Read").Default(u"NumBytes", VT_I4, OwnedVariant::I4(-1))
//       .Returns(VT_VARIANT).Calls(&Stream::Read);
//   oleaut::ComPtr<ITypeLib> built = lib.Build();
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "oleaut/com_ptr.h"
#include "oleaut/typeinfo.h"

namespace oleaut {

class DispatchObject;
class Invocation;

// A member's implementation: the object it is called on and the call, whose arguments are
// already checked and converted to their declared types.
using MemberHandler = std::function<HRESULT(DispatchObject& self, Invocation& call)>;

template <class T>
MemberHandler BindMember(HRESULT (T::*method)(Invocation&)) {
  static_assert(std::is_base_of_v<DispatchObject, T>, "members belong to a DispatchObject");
  return [method](DispatchObject& self, Invocation& call) {
    return (static_cast<T&>(self).*method)(call);
  };
}

// A declared type, as a TYPEDESC describes it.
class TypeSpec {
 public:
  TypeSpec(VARTYPE vt = VT_VOID) : vt_(vt) {}  // a basic type: VT_I4, VT_BSTR, VT_VARIANT...
  static TypeSpec Ptr(const TypeSpec& pointee);
  static TypeSpec SafeArray(const TypeSpec& element);
  static TypeSpec CArray(const TypeSpec& element, std::vector<SAFEARRAYBOUND> bounds);
  // A type of the library being built, by name (it may be declared later).
  static TypeSpec Named(std::u16string typeName);
  // A type of another library (a reference is kept).
  static TypeSpec Of(ITypeInfo* typeInfo);

  VARTYPE vt() const { return vt_; }
  const TypeSpec* inner() const { return inner_.get(); }
  const std::vector<SAFEARRAYBOUND>& bounds() const { return bounds_; }
  const std::u16string& name() const { return name_; }
  ITypeInfo* external() const { return external_.Get(); }

 private:
  VARTYPE vt_;
  std::shared_ptr<const TypeSpec> inner_;
  std::vector<SAFEARRAYBOUND> bounds_;
  std::u16string name_;
  ComPtr<ITypeInfo> external_;
};

struct ParamSpec {
  std::u16string name;
  TypeSpec type;
  USHORT flags = PARAMFLAG_FIN;
  OwnedVariant defaultValue;  // used with PARAMFLAG_FHASDEFAULT
};

namespace detail {

inline constexpr DISPID kAutoId = static_cast<DISPID>(0x7FFFFFFF);

struct FuncSpec {
  std::u16string name;
  DISPID id = kAutoId;
  INVOKEKIND kind = INVOKE_FUNC;
  std::vector<ParamSpec> params;
  TypeSpec result = VT_VOID;
  bool varargs = false;
  WORD flags = 0;
  std::u16string doc;
  MemberHandler handler;
};

struct VarSpec {
  std::u16string name;
  DISPID id = kAutoId;
  VARKIND kind = VAR_DISPATCH;
  TypeSpec type;
  WORD flags = 0;
  OwnedVariant value;  // VAR_CONST
  std::u16string doc;
  MemberHandler getter;
  MemberHandler setter;
};

struct ImplSpec {
  std::u16string name;
  INT flags = 0;
};

struct TypeDeclSpec {
  TYPEKIND kind = TKIND_DISPATCH;
  std::u16string name;
  GUID guid{};
  WORD typeFlags = 0;
  std::u16string doc;
  std::deque<FuncSpec> funcs;
  std::deque<VarSpec> vars;
  TypeSpec aliased;
  std::vector<ImplSpec> implemented;
};

struct LibSpec {
  std::u16string name;
  GUID libid{};
  WORD major = 1;
  WORD minor = 0;
  LCID lcid = 0;
  std::u16string doc;
  std::deque<TypeDeclSpec> types;
};

}  // namespace detail

// A method or a property function being declared.
class MemberBuilder {
 public:
  explicit MemberBuilder(detail::FuncSpec& spec) : spec_(&spec) {}
  MemberBuilder& Id(DISPID id);
  MemberBuilder& Param(std::u16string name, TypeSpec type, USHORT flags = PARAMFLAG_FIN);
  MemberBuilder& Param(ParamSpec param);
  MemberBuilder& Optional(std::u16string name, TypeSpec type);  // [in, optional]
  MemberBuilder& Default(std::u16string name, TypeSpec type, OwnedVariant value);
  MemberBuilder& Out(std::u16string name, TypeSpec pointee);    // [out], ptr(pointee)
  MemberBuilder& InOut(std::u16string name, TypeSpec pointee);  // [in, out], ptr(pointee)
  MemberBuilder& Retval(std::u16string name, TypeSpec pointee);  // [out, retval], last
  // The last parameter, which receives every further argument: [in] safearray(variant).
  MemberBuilder& VarArgs(std::u16string name);
  MemberBuilder& Returns(TypeSpec type);
  MemberBuilder& Hidden();
  MemberBuilder& Doc(std::u16string text);
  MemberBuilder& Calls(MemberHandler handler);
  template <class T>
  MemberBuilder& Calls(HRESULT (T::*method)(Invocation&)) {
    return Calls(BindMember(method));
  }

 private:
  detail::FuncSpec* spec_;
};

// A property held as a variable of the interface (VARDESC, VAR_DISPATCH).
class VariableBuilder {
 public:
  explicit VariableBuilder(detail::VarSpec& spec) : spec_(&spec) {}
  VariableBuilder& Id(DISPID id);
  VariableBuilder& ReadOnly();
  VariableBuilder& Hidden();
  VariableBuilder& Doc(std::u16string text);
  VariableBuilder& Getter(MemberHandler handler);
  VariableBuilder& Setter(MemberHandler handler);  // for put and put-by-reference
  template <class T>
  VariableBuilder& Getter(HRESULT (T::*method)(Invocation&)) {
    return Getter(BindMember(method));
  }
  template <class T>
  VariableBuilder& Setter(HRESULT (T::*method)(Invocation&)) {
    return Setter(BindMember(method));
  }

 private:
  detail::VarSpec* spec_;
};

class DispInterfaceBuilder {
 public:
  explicit DispInterfaceBuilder(detail::TypeDeclSpec& spec) : spec_(&spec) {}
  MemberBuilder& Method(std::u16string name);
  MemberBuilder& Get(std::u16string name, TypeSpec type);  // returns a value of type
  // Takes a value of type as its last parameter (index parameters go before it).
  MemberBuilder& Put(std::u16string name, TypeSpec type);
  MemberBuilder& PutRef(std::u16string name, TypeSpec type);
  VariableBuilder& Variable(std::u16string name, TypeSpec type);
  DispInterfaceBuilder& Hidden();
  DispInterfaceBuilder& Dual();
  DispInterfaceBuilder& Doc(std::u16string text);

 private:
  MemberBuilder& AddFunc(std::u16string name, INVOKEKIND kind);
  detail::TypeDeclSpec* spec_;
  std::deque<MemberBuilder> members_;
  std::deque<VariableBuilder> variables_;
};

class EnumBuilder {
 public:
  explicit EnumBuilder(detail::TypeDeclSpec& spec) : spec_(&spec) {}
  EnumBuilder& Value(std::u16string name, LONG value);
  EnumBuilder& Doc(std::u16string text);

 private:
  detail::TypeDeclSpec* spec_;
};

class RecordBuilder {
 public:
  explicit RecordBuilder(detail::TypeDeclSpec& spec) : spec_(&spec) {}
  // Fields are laid out in order, each aligned to its own size.
  RecordBuilder& Field(std::u16string name, TypeSpec type);

 private:
  detail::TypeDeclSpec* spec_;
};

class CoClassBuilder {
 public:
  explicit CoClassBuilder(detail::TypeDeclSpec& spec) : spec_(&spec) {}
  CoClassBuilder& Implements(std::u16string interfaceName, INT flags = IMPLTYPEFLAG_FDEFAULT);
  CoClassBuilder& Doc(std::u16string text);

 private:
  detail::TypeDeclSpec* spec_;
};

class TypeLibBuilder {
 public:
  explicit TypeLibBuilder(std::u16string name, GUID libid = GUID_NULL, WORD major = 1,
                          WORD minor = 0);
  TypeLibBuilder(const TypeLibBuilder&) = delete;
  TypeLibBuilder& operator=(const TypeLibBuilder&) = delete;

  TypeLibBuilder& Lcid(LCID lcid);
  TypeLibBuilder& Doc(std::u16string text);
  DispInterfaceBuilder& DispInterface(std::u16string name, GUID iid);
  EnumBuilder& Enum(std::u16string name, GUID guid = GUID_NULL);
  TypeLibBuilder& Alias(std::u16string name, TypeSpec aliased);
  RecordBuilder& Record(std::u16string name, GUID guid = GUID_NULL);
  CoClassBuilder& CoClass(std::u16string name, CLSID clsid);

  // Checks the description and makes the library. Member ids not given are numbered from 1
  // by name (a property's get and put share one). Throws std::invalid_argument naming the
  // first fault: an unknown or repeated type name, a parameter order IDL would refuse, an
  // out parameter that is no pointer, a member declared twice...
  ComPtr<ITypeLib> Build() const;

  const detail::LibSpec& spec() const { return spec_; }

 private:
  detail::LibSpec spec_;
  std::deque<DispInterfaceBuilder> interfaces_;
  std::deque<EnumBuilder> enums_;
  std::deque<RecordBuilder> records_;
  std::deque<CoClassBuilder> coclasses_;
};

// The type of that name in a library, or null.
ComPtr<ITypeInfo> FindTypeInfo(ITypeLib* lib, std::u16string_view name);

}  // namespace oleaut
