#include "probe_object.h"

#include <string>

#include "oleaut/class_registry.h"
#include "oleaut/safearray.h"

namespace probe {

using oleaut::Invocation;
using oleaut::TypeSpec;

namespace {
constexpr GUID kLibrary{0x5A11F7E1, 0x0100, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x03}};
constexpr GUID kInterface{0x5A11F7E1, 0x0200, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x04}};
}  // namespace

ITypeInfo* Probe::Type() {
  static oleaut::ComPtr<ITypeInfo> type = [] {
    oleaut::TypeLibBuilder lib(u"ProbeLib", kLibrary);
    lib.Enum(u"ModeEnum").Value(u"modeOne", 1).Value(u"modeTwo", 2);
    auto& probe = lib.DispInterface(u"IProbe", kInterface);
    probe.Method(u"Echo").Param(u"text", VT_BSTR).Returns(VT_BSTR).Calls(&Probe::Echo);
    probe.Method(u"Swap").InOut(u"text", VT_BSTR).InOut(u"number", VT_I4).Calls(&Probe::Swap);
    probe.Method(u"Describe")
        .Param(u"first", VT_I4)
        .Optional(u"second", VT_VARIANT)
        .Optional(u"third", VT_VARIANT)
        .Returns(VT_BSTR)
        .Calls(&Probe::Describe);
    probe.Method(u"Sum").VarArgs(u"values").Returns(VT_I4).Calls(&Probe::Sum);
    probe.Get(u"Mode", TypeSpec::Named(u"ModeEnum")).Calls(&Probe::GetMode);
    probe.Put(u"Mode", TypeSpec::Named(u"ModeEnum")).Calls(&Probe::PutMode);
    probe.Put(u"Level", VT_VARIANT).Calls(&Probe::PutLevel);
    probe.Method(u"Identify").Param(u"other", VT_DISPATCH).Returns(VT_BSTR).Calls(&Probe::Identify);
    probe.Variable(u"Counter", VT_I4).Getter(&Probe::GetCounter).Setter(&Probe::PutCounter);
    probe.Method(u"Fail").Calls(&Probe::Fail);
    probe.Method(u"Word").Returns(VT_BSTR).Calls(&Probe::Word);
    probe.Method(u"Bytes").Returns(VT_VARIANT).Calls(&Probe::Bytes);
    probe.Method(u"Nothing").Calls(&Probe::Nothing);
    lib.CoClass(u"Probe", kProbeClass).Implements(u"IProbe");
    oleaut::ComPtr<ITypeLib> built = lib.Build();
    return oleaut::FindTypeInfo(built.Get(), u"IProbe");
  }();
  return type.Get();
}

void Probe::Register() {
  oleaut::RegisterComClass({kProbeClass, {u"Panlift.Probe"}, [] { return static_cast<IUnknown*>(new Probe); },
                            CLSCTX_INPROC_SERVER, 0});
  oleaut::RegisterComClass({kLocalProbeClass, {u"Panlift.LocalProbe"},
                            [] { return static_cast<IUnknown*>(new Probe); }, CLSCTX_INPROC_SERVER,
                            CLSCTX_REMOTE_SERVER});
}

Probe::Probe() : DispatchObject(Type()) {
  liveAtLastCreation = live;
  ++live;
}
Probe::~Probe() { --live; }

HRESULT Probe::Echo(Invocation& call) {
  ++invocations;
  return oleaut::SetText(call.Result(), u"echo:" + std::u16string(call.GetText(0)));
}

HRESULT Probe::Swap(Invocation& call) {
  ++invocations;
  std::u16string text(call.GetText(0));
  LONG number = call.GetLong(1);
  oleaut::SetText(call.Arg(0), u"#" + text);
  oleaut::SetI4(call.Arg(1), static_cast<LONG>(text.size()) * 100 + number);
  return S_OK;
}

HRESULT Probe::Describe(Invocation& call) {
  ++invocations;
  std::u16string description;
  for (UINT i = 0; i < call.ArgCount(); ++i) {
    const VARIANT& arg = call.Arg(i);
    if (i) description += u",";
    if (call.IsMissing(i)) description += u"missing";
    else description += u"vt" + [](int vt) { std::string s = std::to_string(vt); return std::u16string(s.begin(), s.end()); }(arg.vt);
  }
  lastDescription = description;
  return oleaut::SetText(call.Result(), description);
}

HRESULT Probe::Sum(Invocation& call) {
  ++invocations;
  SAFEARRAY* values = call.GetArray(0);
  LONG total = 0;
  for (ULONG i = 0; i < oleaut::SafeArrayElementCount(values); ++i) {
    LONG index = static_cast<LONG>(i);
    LONG lower = 0;
    SafeArrayGetLBound(values, 1, &lower);
    index += lower;
    oleaut::OwnedVariant element;
    SafeArrayGetElement(values, &index, element.get());
    VariantChangeType(element.get(), element.get(), 0, VT_I4);
    total += element->lVal;
  }
  oleaut::SetI4(call.Result(), total);
  return S_OK;
}

HRESULT Probe::GetMode(Invocation& call) {
  oleaut::SetI4(call.Result(), mode);
  return S_OK;
}
HRESULT Probe::PutMode(Invocation& call) {
  mode = call.GetLong(0);
  return S_OK;
}
HRESULT Probe::PutLevel(Invocation& call) {
  lastLevelType = call.Arg(0).vt;
  return S_OK;
}

HRESULT Probe::Identify(Invocation& call) {
  IDispatch* other = call.GetDispatch(0);
  return oleaut::SetText(call.Result(), other == static_cast<IDispatch*>(this) ? u"self"
                                        : other                               ? u"other"
                                                                              : u"none");
}

HRESULT Probe::GetCounter(Invocation& call) {
  oleaut::SetI4(call.Result(), counter);
  return S_OK;
}
HRESULT Probe::PutCounter(Invocation& call) {
  counter = call.GetLong(0);
  return S_OK;
}

HRESULT Probe::Fail(Invocation& call) { return call.Raise(E_FAIL, u"probe failure"); }

HRESULT Probe::Word(Invocation& call) { return oleaut::SetText(call.Result(), u"abc"); }

HRESULT Probe::Bytes(Invocation& call) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, 3);
  void* data = nullptr;
  SafeArrayAccessData(array, &data);
  static_cast<BYTE*>(data)[0] = 0xD6;
  static_cast<BYTE*>(data)[1] = 0xD0;
  static_cast<BYTE*>(data)[2] = 0x00;
  SafeArrayUnaccessData(array);
  oleaut::SetArray(call.Result(), VT_UI1, array);
  return S_OK;
}

HRESULT Probe::Nothing(Invocation&) {
  ++invocations;
  return S_OK;
}

}  // namespace probe
