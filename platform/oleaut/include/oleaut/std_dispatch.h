// DispatchObject: a standard IDispatch over type information from TypeLibBuilder. Invoke
// finds the member by id and invocation kind, checks the arguments against the declared
// parameters and converts them to the declared types, fills in omitted optional ones (the
// default value, or VT_ERROR DISP_E_PARAMNOTFOUND), packs a variable argument list into a
// SAFEARRAY of VARIANT, then calls the member's handler; afterwards it writes by-reference
// outputs back to the caller's variables and converts the result to the declared type.
//
// Invoke's answers: DISP_E_MEMBERNOTFOUND (no member of that id and kind, or one without a
// handler), DISP_E_BADPARAMCOUNT (more arguments than parameters, or a required argument
// left off the end), DISP_E_PARAMNOTOPTIONAL (a required argument passed as omitted),
// DISP_E_TYPEMISMATCH / DISP_E_OVERFLOW / DISP_E_BADVARTYPE (an argument that does not
// convert; *argumentError is its rgvarg index), DISP_E_NONAMEDARGS (named arguments other
// than DISPID_PROPERTYPUT of a property put), DISP_E_EXCEPTION (the handler raised one, or
// threw), and whatever else the handler returns.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "oleaut/typeinfo_builder.h"

namespace oleaut {

namespace detail {
class Dispatcher;
}

class Invocation {
 public:
  DISPID Member() const { return member_; }
  INVOKEKIND Kind() const { return kind_; }
  LCID Locale() const { return lcid_; }

  // Declared parameters, the retval one left out; a variable argument list counts as one.
  UINT ArgCount() const { return static_cast<UINT>(args_.size()); }
  // Parameter i, converted to its declared type; for a by-reference parameter this is its
  // slot, whose value at return goes back to the caller. Out of range: an empty VARIANT.
  VARIANT& Arg(UINT index);
  const VARIANT& Arg(UINT index) const;
  bool IsMissing(UINT index) const;
  // Readers of converted arguments: the zero value for a missing one or another type.
  LONG GetLong(UINT index) const;
  double GetDouble(UINT index) const;
  bool GetBool(UINT index) const;
  std::u16string_view GetText(UINT index) const;
  IDispatch* GetDispatch(UINT index) const;  // borrowed
  IUnknown* GetUnknown(UINT index) const;    // borrowed
  SAFEARRAY* GetArray(UINT index) const;     // borrowed; the variable argument list too

  // The member's value (return value or retval parameter).
  VARIANT& Result() { return *result_; }

  // Reports an exception: the handler returns what this returns (DISP_E_EXCEPTION), and
  // the caller's EXCEPINFO receives the code and texts.
  HRESULT Raise(SCODE code, std::u16string_view description, std::u16string_view source = {});

  Invocation(const Invocation&) = delete;
  Invocation& operator=(const Invocation&) = delete;
  ~Invocation();

 private:
  friend class detail::Dispatcher;
  Invocation() = default;

  DISPID member_ = DISPID_UNKNOWN;
  INVOKEKIND kind_ = INVOKE_FUNC;
  LCID lcid_ = 0;
  std::vector<VARIANT> args_;
  VARIANT* result_ = nullptr;
  bool raised_ = false;
  SCODE raisedCode_ = 0;
  std::u16string raisedDescription_;
  std::u16string raisedSource_;
};

// Base of automation objects made in C++. The object starts with one reference (the
// creator's) and deletes itself when the last is released.
class DispatchObject : public IDispatch {
 public:
  // A class that adds an interface of its own (QueryOtherInterface) overrides these three
  // and forwards them to DispatchObject's, for that interface's IUnknown part.
  HRESULT QueryInterface(REFIID riid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT GetTypeInfoCount(UINT* count) final;
  HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** typeInfo) final;
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                        DISPID* ids) final;
  HRESULT Invoke(DISPID member, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                 VARIANT* result, EXCEPINFO* exception, UINT* argumentError) final;

  ITypeInfo* typeInfo() const { return typeInfo_.Get(); }

 protected:
  // A dispatch interface of a library made by TypeLibBuilder.
  explicit DispatchObject(ITypeInfo* typeInfo);
  virtual ~DispatchObject();
  // Interfaces beyond IUnknown, IDispatch and the object's own dispatch interface: store a
  // new reference in *object, or return E_NOINTERFACE.
  virtual HRESULT QueryOtherInterface(REFIID riid, void** object);

 private:
  std::atomic<ULONG> refs_{1};
  ComPtr<ITypeInfo> typeInfo_;
};

}  // namespace oleaut
