#include "testsupport/probe_object.h"

#include <string>

#include "oleaut/class_registry.h"
#include "oleaut/record_info.h"
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
    lib.Alias(u"Ratio", VT_R8);
    lib.Alias(u"Companion", TypeSpec::Named(u"IProbe"));
    lib.Record(u"Point").Field(u"x", VT_I4).Field(u"y", VT_I4);
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
    // By-reference outputs.
    probe.Method(u"Adopt").InOut(u"other", VT_DISPATCH).Calls(&Probe::Adopt);
    probe.Method(u"Spawn").Out(u"made", TypeSpec::Named(u"IProbe")).Calls(&Probe::Spawn);
    probe.Method(u"Fill").InOut(u"value", VT_VARIANT).Calls(&Probe::Fill);
    probe.Method(u"Produce").Out(u"text", VT_BSTR).Out(u"number", VT_I4).Calls(&Probe::Produce);
    probe.Method(u"Grow").InOut(u"values", TypeSpec::SafeArray(VT_I4)).Calls(&Probe::Grow);
    probe.Method(u"Names").Out(u"names", TypeSpec::SafeArray(VT_BSTR)).Calls(&Probe::Names);
    // Declared types that need resolving.
    probe.Method(u"Partner").Param(u"other", TypeSpec::Named(u"IProbe")).Returns(VT_BSTR).Calls(&Probe::Identify);
    probe.Method(u"Halve").InOut(u"value", TypeSpec::Named(u"Ratio")).Calls(&Probe::Halve);
    probe.Method(u"Widen").InOut(u"a", VT_INT).InOut(u"b", VT_UINT).Calls(&Probe::Widen);
    probe.Method(u"NextMode").InOut(u"mode", TypeSpec::Named(u"ModeEnum")).Calls(&Probe::NextMode);
    probe.Method(u"Measure").Param(u"text", VT_BSTR).Retval(u"length", VT_I4).Calls(&Probe::Measure);
    probe.Method(u"Norm")
        .Param(u"point", TypeSpec::Ptr(TypeSpec::Named(u"Point")))
        .Returns(VT_I4)
        .Calls(&Probe::Norm);
    probe.Variable(u"Buddy", TypeSpec::Named(u"IProbe")).Setter(&Probe::Accept);
    probe.Variable(u"Friend", TypeSpec::Named(u"Companion")).Setter(&Probe::Accept);
    probe.Variable(u"Factor", TypeSpec::Named(u"Ratio")).Setter(&Probe::Accept);
    probe.Variable(u"Weights", TypeSpec::SafeArray(VT_R8)).Setter(&Probe::Accept);
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

// Puts itself where the caller's object was.
HRESULT Probe::Adopt(Invocation& call) {
  ++invocations;
  oleaut::SetDispatch(call.Arg(0), this);
  return S_OK;
}

HRESULT Probe::Spawn(Invocation& call) {
  ++invocations;
  oleaut::ComPtr<IDispatch> made = oleaut::ComPtr<IDispatch>::Adopt(new Probe);
  oleaut::SetDispatch(call.Arg(0), made.Get());
  return S_OK;
}

// Replaces the value with a text naming the type it had.
HRESULT Probe::Fill(Invocation& call) {
  ++invocations;
  std::string type = std::to_string(call.Arg(0).vt);
  return oleaut::SetText(call.Arg(0), u"filled:vt" + std::u16string(type.begin(), type.end()));
}

HRESULT Probe::Produce(Invocation& call) {
  ++invocations;
  if (!call.GetText(0).empty() || call.GetLong(1) != 0) return E_UNEXPECTED;  // out only: nothing comes in
  oleaut::SetText(call.Arg(0), u"produced");
  oleaut::SetI4(call.Arg(1), 42);
  return S_OK;
}

// Replaces the array with a new one: every element doubled, and one more holding the count.
HRESULT Probe::Grow(Invocation& call) {
  ++invocations;
  VARIANT& slot = call.Arg(0);
  if (slot.vt != (VT_ARRAY | VT_I4) || !slot.parray) return E_INVALIDARG;
  SAFEARRAY* old = slot.parray;
  const ULONG count = oleaut::SafeArrayElementCount(old);
  SAFEARRAY* grown = SafeArrayCreateVector(VT_I4, 1, count + 1);
  const auto* from = static_cast<const LONG*>(old->pvData);
  auto* to = static_cast<LONG*>(grown->pvData);
  for (ULONG i = 0; i < count; ++i) to[i] = from[i] * 2;
  to[count] = static_cast<LONG>(count);
  oleaut::SetArray(slot, VT_I4, grown);
  return S_OK;
}

// An out-only array: none comes in, a new one goes out.
HRESULT Probe::Names(Invocation& call) {
  ++invocations;
  VARIANT& slot = call.Arg(0);
  if (slot.vt != (VT_ARRAY | VT_BSTR) || slot.parray) return E_UNEXPECTED;
  SAFEARRAY* names = SafeArrayCreateVector(VT_BSTR, 1, 2);
  auto* texts = static_cast<BSTR*>(names->pvData);
  texts[0] = oleaut::AllocBstr(u"a");
  texts[1] = oleaut::AllocBstr(u"b");
  oleaut::SetArray(slot, VT_BSTR, names);
  return S_OK;
}

HRESULT Probe::Halve(Invocation& call) {
  ++invocations;
  oleaut::SetR8(call.Arg(0), call.GetDouble(0) / 2);
  return S_OK;
}

HRESULT Probe::Widen(Invocation& call) {
  ++invocations;
  if (call.Arg(0).vt != VT_I4 || call.Arg(1).vt != VT_UI4) return E_INVALIDARG;
  call.Arg(0).lVal += 1;
  call.Arg(1).ulVal += 2;
  return S_OK;
}

HRESULT Probe::NextMode(Invocation& call) {
  ++invocations;
  oleaut::SetI4(call.Arg(0), call.GetLong(0) % 2 + 1);
  return S_OK;
}

HRESULT Probe::Measure(Invocation& call) {
  ++invocations;
  oleaut::SetI4(call.Result(), static_cast<LONG>(call.GetText(0).size()));
  return S_OK;
}

HRESULT Probe::Norm(Invocation& call) {
  ++invocations;
  const VARIANT& arg = call.Arg(0);
  if (arg.vt != VT_RECORD || !arg.brecord.pvRecord) return E_INVALIDARG;
  const auto* point = static_cast<const Point*>(arg.brecord.pvRecord);
  oleaut::SetI4(call.Result(), point->x + point->y);
  return S_OK;
}

HRESULT Probe::Accept(Invocation&) { return S_OK; }

IRecordInfo* PointInfo() {
  static oleaut::ComPtr<IRecordInfo> info = [] {
    oleaut::ComPtr<ITypeLib> lib;
    UINT index = 0;
    Probe::Type()->GetContainingTypeLib(lib.Put(), &index);
    oleaut::ComPtr<IRecordInfo> made;
    GetRecordInfoFromTypeInfo(oleaut::FindTypeInfo(lib.Get(), u"Point").Get(), made.Put());
    return made;
  }();
  return info.Get();
}

}  // namespace probe
