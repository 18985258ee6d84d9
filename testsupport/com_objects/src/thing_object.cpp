#include "testsupport/thing_object.h"

#include <atomic>

#include "oleaut/safearray.h"

namespace oleaut::testing {

namespace {

std::atomic<int> liveThings{0};

}  // namespace

struct ThingMembers {
  static ComPtr<ITypeLib> Build() {
    TypeLibBuilder lib(u"PanliftTests", kTestLibId, 1, 2);
    lib.Enum(u"ColorEnum").Value(u"clRed", 1).Value(u"clGreen", 2).Value(u"clBlue", 4);
    lib.Alias(u"Amount", VT_I4);
    lib.Record(u"Point").Field(u"x", VT_I4).Field(u"label", VT_BSTR).Field(u"extra", VT_VARIANT);
    auto& thing = lib.DispInterface(u"IThing", kThingIid);
    thing.Get(u"Value", VT_BSTR).Id(DISPID_VALUE).Calls(&Thing::GetName);
    thing.Get(u"Name", VT_BSTR).Calls(&Thing::GetName);
    thing.Put(u"Name", VT_BSTR).Calls(&Thing::PutName);
    thing.Get(u"Color", TypeSpec::Named(u"ColorEnum")).Calls(&Thing::GetColor);
    thing.Put(u"Color", TypeSpec::Named(u"ColorEnum")).Calls(&Thing::PutColor);
    thing.Variable(u"Level", VT_I4)
        .Getter([](DispatchObject& self, Invocation& call) {
          SetI4(call.Result(), static_cast<Thing&>(self).level);
          return S_OK;
        })
        .Setter([](DispatchObject& self, Invocation& call) {
          static_cast<Thing&>(self).level = call.GetLong(0);
          return S_OK;
        });
    thing.Variable(u"Partner", VT_DISPATCH)
        .Getter([](DispatchObject& self, Invocation& call) {
          SetDispatch(call.Result(), static_cast<Thing&>(self).partner.Get());
          return S_OK;
        })
        .Setter([](DispatchObject& self, Invocation& call) {
          static_cast<Thing&>(self).partner = call.GetDispatch(0);
          return S_OK;
        });
    thing.Variable(u"Serial", VT_I4).ReadOnly().Getter([](DispatchObject&, Invocation& call) {
      SetI4(call.Result(), 42);
      return S_OK;
    });
    thing.Method(u"Add").Param(u"a", VT_I4).Param(u"b", VT_I4).Returns(VT_I4).Calls(&Thing::Add);
    thing.Method(u"Split")
        .Param(u"text", VT_BSTR)
        .Out(u"left", VT_BSTR)
        .Out(u"right", VT_BSTR)
        .Returns(VT_BOOL)
        .Calls(&Thing::Split);
    thing.Method(u"Bump").InOut(u"a", VT_I4).InOut(u"b", VT_VARIANT).Calls(&Thing::Swap);
    thing.Method(u"Describe")
        .Param(u"a", VT_BSTR)
        .Optional(u"b", VT_VARIANT)
        .Default(u"c", VT_I4, OwnedVariant::I4(7))
        .Returns(VT_BSTR)
        .Calls(&Thing::Describe);
    thing.Method(u"Sum").Param(u"first", VT_R8).VarArgs(u"rest").Returns(VT_R8).Calls(&Thing::Sum);
    thing.Method(u"PartnerName")
        .Param(u"other", TypeSpec::Named(u"IThing"))
        .Returns(VT_BSTR)
        .Calls(&Thing::PartnerName);
    thing.Method(u"Fail").Param(u"code", VT_I4).Calls(&Thing::Fail);
    thing.Method(u"Tally").Retval(u"count", VT_I4).Calls(&Thing::Tally);
    thing.Method(u"Twice").Param(u"n", TypeSpec::Named(u"Amount")).Returns(VT_I4).Calls(&Thing::Twice);
    thing.Method(u"Unimplemented");
    lib.CoClass(u"Thing", kThingClsid).Implements(u"IThing");
    return lib.Build();
  }
};

ITypeLib* TestTypeLib() {
  static ITypeLib* const lib = ThingMembers::Build().Detach();  // lives as long as the process
  return lib;
}

Thing::Thing() : DispatchObject(FindTypeInfo(TestTypeLib(), u"IThing").Get()) { ++liveThings; }

Thing::~Thing() { --liveThings; }

int Thing::Live() { return liveThings; }

HRESULT Thing::GetName(Invocation& call) {
  calls.push_back(u"GetName");
  return SetText(call.Result(), name);
}

HRESULT Thing::PutName(Invocation& call) {
  calls.push_back(u"PutName");
  name = call.GetText(0);
  return S_OK;
}

HRESULT Thing::GetColor(Invocation& call) {
  SetI4(call.Result(), color);
  return S_OK;
}

HRESULT Thing::PutColor(Invocation& call) {
  const LONG value = call.GetLong(0);
  if (value != 1 && value != 2 && value != 4) return E_INVALIDARG;
  color = value;
  return S_OK;
}

HRESULT Thing::Add(Invocation& call) {
  calls.push_back(u"Add");
  const LONGLONG sum = static_cast<LONGLONG>(call.GetLong(0)) + call.GetLong(1);
  if (sum != static_cast<LONG>(sum)) return DISP_E_OVERFLOW;
  SetI4(call.Result(), static_cast<LONG>(sum));
  return S_OK;
}

HRESULT Thing::Split(Invocation& call) {
  calls.push_back(u"Split");
  const std::u16string_view text = call.GetText(0);
  const auto comma = text.find(u',');
  SetBool(call.Result(), comma != std::u16string_view::npos);
  SetText(call.Arg(1), text.substr(0, comma));
  SetText(call.Arg(2), comma == std::u16string_view::npos ? u"" : text.substr(comma + 1));
  return S_OK;
}

HRESULT Thing::Swap(Invocation& call) {
  calls.push_back(u"Bump");
  const LONG a = call.GetLong(0);
  SetI4(call.Arg(0), a + 1);
  OwnedVariant text;
  VariantChangeType(text.get(), &call.Arg(1), 0, VT_BSTR);
  SetText(call.Arg(1), std::u16string(BstrView(text->bstrVal)) + u"!");
  return S_OK;
}

HRESULT Thing::Describe(Invocation& call) {
  std::u16string out(call.GetText(0));
  out += u"|";
  if (call.IsMissing(1)) {
    out += u"-";
  } else {
    OwnedVariant text;
    if (FAILED(VariantChangeType(text.get(), &call.Arg(1), 0, VT_BSTR))) return DISP_E_TYPEMISMATCH;
    out += BstrView(text->bstrVal);
  }
  out += u"|" + TextOf(call.Arg(2));
  return SetText(call.Result(), out);
}

HRESULT Thing::Sum(Invocation& call) {
  double total = call.GetDouble(0);
  SAFEARRAY* rest = call.GetArray(1);
  const ULONG count = SafeArrayElementCount(rest);
  auto* items = static_cast<VARIANT*>(rest->pvData);
  for (ULONG i = 0; i < count; ++i) {
    OwnedVariant number;
    if (FAILED(VariantChangeType(number.get(), &items[i], 0, VT_R8))) return DISP_E_TYPEMISMATCH;
    total += number->dblVal;
  }
  SetR8(call.Result(), total);
  return S_OK;
}

HRESULT Thing::PartnerName(Invocation& call) {
  IDispatch* other = call.GetDispatch(0);
  if (!other) return SetText(call.Result(), u"(none)");
  CallResult name = GetProperty(other, u"Name");
  if (FAILED(name.hr)) return name.hr;
  return VariantCopy(&call.Result(), name.value.get());
}

HRESULT Thing::Fail(Invocation& call) {
  return call.Raise(call.GetLong(0), u"failed on purpose", u"Panlift.Thing");
}

HRESULT Thing::Tally(Invocation& call) {
  SetI4(call.Result(), static_cast<LONG>(calls.size()));
  return S_OK;
}

HRESULT Thing::Twice(Invocation& call) {
  SetI4(call.Result(), call.GetLong(0) * 2);
  return S_OK;
}

void RegisterThing(DWORD contexts, DWORD refused) {
  ComClass cls;
  cls.clsid = kThingClsid;
  cls.progIds = {u"Panlift.Thing", u"Panlift.Thing.1"};
  cls.factory = [] { return static_cast<IUnknown*>(static_cast<IDispatch*>(new Thing)); };
  cls.contexts = contexts;
  cls.refusedContexts = refused;
  RegisterComClass(std::move(cls));
}

DISPID IdOf(IDispatch* object, std::u16string_view name) {
  std::u16string copy(name);
  LPOLESTR names[] = {copy.data()};
  DISPID id = DISPID_UNKNOWN;
  object->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
  return id;
}

CallResult Invoke(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> args,
                  bool namedPut) {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), namedPut ? &putId : nullptr,
                    static_cast<UINT>(reversed.size()), namedPut ? 1u : 0u};
  CallResult result;
  result.hr = object->Invoke(id, IID_NULL, 0x0409, flags, &params, result.value.get(),
                             &result.exception, &result.argError);
  for (VARIANT& arg : args) VariantClear(&arg);
  return result;
}

CallResult Call(IDispatch* object, std::u16string_view name, std::vector<VARIANT> args) {
  return Invoke(object, IdOf(object, name), DISPATCH_METHOD, std::move(args));
}

CallResult GetProperty(IDispatch* object, std::u16string_view name) {
  return Invoke(object, IdOf(object, name), DISPATCH_PROPERTYGET, {});
}

CallResult PutProperty(IDispatch* object, std::u16string_view name, VARIANT value, WORD flags) {
  return Invoke(object, IdOf(object, name), flags, {value}, true);
}

VARIANT I4(LONG value) {
  VARIANT v;
  VariantInit(&v);
  SetI4(v, value);
  return v;
}

VARIANT Text(std::u16string_view value) {
  VARIANT v;
  VariantInit(&v);
  SetText(v, value);
  return v;
}

VARIANT R8(double value) {
  VARIANT v;
  VariantInit(&v);
  SetR8(v, value);
  return v;
}

VARIANT Missing() {
  VARIANT v;
  VariantInit(&v);
  SetMissing(v);
  return v;
}

VARIANT Ref(VARTYPE vt, void* target) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BYREF | vt;
  v.byref = target;
  return v;
}

VARIANT Object(IDispatch* object) {
  VARIANT v;
  VariantInit(&v);
  SetDispatch(v, object);
  return v;
}

std::u16string TextOf(const VARIANT& v) {
  OwnedVariant text;
  if (FAILED(VariantChangeTypeEx(text.get(), &v, 0x0409, 0, VT_BSTR))) return u"<no text>";
  return std::u16string(BstrView(text->bstrVal));
}

std::string Narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

}  // namespace oleaut::testing
