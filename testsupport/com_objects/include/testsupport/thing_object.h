// A test automation object with every kind of member the dispatch machinery serves, and a
// count of live instances so tests can see that references are released.
#pragma once

#include <string>
#include <vector>

#include "oleaut/class_registry.h"
#include "oleaut/std_dispatch.h"

namespace oleaut::testing {

inline constexpr GUID kTestLibId{0x5A1E0001, 0x0001, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x01}};
inline constexpr IID kThingIid{0x5A1E0001, 0x0002, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x02}};
inline constexpr CLSID kThingClsid{0x5A1E0001, 0x0003, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x03}};

// The library: enum ColorEnum (clRed 1, clGreen 2, clBlue 4), alias Amount = i4,
// dispinterface IThing, coclass Thing.
ITypeLib* TestTypeLib();  // borrowed; lives for the whole test run

class Thing final : public DispatchObject {
 public:
  Thing();
  static int Live();  // instances not yet deleted

  std::u16string name = u"thing";
  LONG color = 1;
  LONG level = 0;
  ComPtr<IDispatch> partner;
  std::vector<std::u16string> calls;  // members' names in call order

 private:
  ~Thing() override;
  HRESULT GetName(Invocation& call);
  HRESULT PutName(Invocation& call);
  HRESULT GetColor(Invocation& call);
  HRESULT PutColor(Invocation& call);
  HRESULT Add(Invocation& call);
  HRESULT Split(Invocation& call);
  HRESULT Swap(Invocation& call);
  HRESULT Describe(Invocation& call);
  HRESULT Sum(Invocation& call);
  HRESULT PartnerName(Invocation& call);
  HRESULT Fail(Invocation& call);
  HRESULT Tally(Invocation& call);
  HRESULT Twice(Invocation& call);
  friend struct ThingMembers;
};

// Registers Thing as "Panlift.Thing" / "Panlift.Thing.1" with the given contexts.
void RegisterThing(DWORD contexts = CLSCTX_INPROC_SERVER, DWORD refused = 0);

// Invoke helpers: arguments in call order (first argument first).
struct CallResult {
  HRESULT hr = S_OK;
  OwnedVariant value;
  UINT argError = 0xFFFFFFFF;
  EXCEPINFO exception{};
};
DISPID IdOf(IDispatch* object, std::u16string_view name);
CallResult Invoke(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> args,
                  bool namedPut = false);
CallResult Call(IDispatch* object, std::u16string_view name, std::vector<VARIANT> args = {});
CallResult GetProperty(IDispatch* object, std::u16string_view name);
CallResult PutProperty(IDispatch* object, std::u16string_view name, VARIANT value,
                       WORD flags = DISPATCH_PROPERTYPUT);

// Argument builders (the VARIANTs are cleared by the helpers after the call).
VARIANT I4(LONG value);
VARIANT Text(std::u16string_view value);
VARIANT R8(double value);
VARIANT Missing();
VARIANT Ref(VARTYPE vt, void* target);  // VT_BYREF | vt
VARIANT Object(IDispatch* object);       // a new reference

std::u16string TextOf(const VARIANT& v);
std::string Narrow(std::u16string_view text);  // for messages: ASCII, "?" for the rest

}  // namespace oleaut::testing
