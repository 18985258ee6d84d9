// COM initialisation, the class registry and object creation, class-id strings, OleRun and
// the "ole32.dll" module.
#include <gtest/gtest.h>

#include <thread>

#include "kernel/modules.h"
#include "oleaut/class_registry.h"
#include "oleaut/ole32.h"
#include "testsupport/thing_object.h"

namespace oleaut {
namespace {

using testing::kThingClsid;
using testing::Thing;

// Initialises COM on the test's thread for its duration.
class ComScope {
 public:
  ComScope() { EXPECT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  ~ComScope() { CoUninitialize(); }
};

TEST(ComInit, CountsPerThread) {
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
  int dummy = 0;
  EXPECT_EQ(CoInitialize(&dummy), E_INVALIDARG);

  HRESULT otherThread = E_FAIL;
  HRESULT createThere = E_FAIL;
  std::thread([&] {
    void* object = nullptr;
    createThere = CoCreateInstance(kThingClsid, nullptr, CLSCTX_ALL, IID_IDispatch, &object);
    otherThread = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    CoUninitialize();
  }).join();
  EXPECT_EQ(createThere, CO_E_NOTINITIALIZED);
  EXPECT_EQ(otherThread, S_OK);

  OleUninitialize();
  CoUninitialize();
  CoUninitialize();
  // Balanced: the next one is the first again.
  EXPECT_EQ(OleInitialize(nullptr), S_OK);
  OleUninitialize();
  CoUninitialize();  // one too many does nothing
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  CoUninitialize();
}

TEST(ClassRegistry, CreatesRegisteredClassesInTheirContexts) {
  testing::RegisterThing(CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, CLSCTX_REMOTE_SERVER);
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(kThingClsid, nullptr, CLSCTX_ALL, IID_IDispatch, &object),
            CO_E_NOTINITIALIZED);
  EXPECT_EQ(object, nullptr);
  ComScope com;
  struct Case {
    const char* what;
    CLSID clsid;
    DWORD context;
    IID iid;
    HRESULT hr;
  } const cases[] = {
      {"all contexts, refused", kThingClsid, 23, IID_IDispatch, E_INVALIDARG},
      {"the retry", kThingClsid, 7, IID_IDispatch, S_OK},
      {"in-process", kThingClsid, CLSCTX_INPROC_SERVER, IID_IDispatch, S_OK},
      {"handler only", kThingClsid, CLSCTX_INPROC_HANDLER, IID_IDispatch, REGDB_E_CLASSNOTREG},
      {"an interface it lacks", kThingClsid, 7, IID_ITypeLib, E_NOINTERFACE},
      {"its own interface", kThingClsid, 7, testing::kThingIid, S_OK},
      {"unknown class", testing::kThingIid, 7, IID_IDispatch, REGDB_E_CLASSNOTREG},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    object = nullptr;
    EXPECT_EQ(CoCreateInstance(c.clsid, nullptr, c.context, c.iid, &object), c.hr);
    EXPECT_EQ(object != nullptr, c.hr == S_OK);
    if (object) {
      EXPECT_EQ(Thing::Live(), 1);
      EXPECT_EQ(static_cast<IUnknown*>(object)->Release(), 0u);
    }
    EXPECT_EQ(Thing::Live(), 0);
  }
}

TEST(ClassRegistry, AggregationAndBadArgumentsAreRefused) {
  testing::RegisterThing();
  ComScope com;
  ComPtr<IDispatch> outer = ComPtr<IDispatch>::Adopt(new Thing);
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(kThingClsid, outer.Get(), CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(CoCreateInstance(kThingClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, nullptr),
            E_POINTER);
  outer.Reset();
  EXPECT_EQ(Thing::Live(), 0);

  ComClass noFactory;
  EXPECT_EQ(RegisterComClass(noFactory), E_INVALIDARG);
  EXPECT_EQ(UnregisterComClass(kThingClsid), S_OK);
  EXPECT_EQ(UnregisterComClass(kThingClsid), S_FALSE);
  EXPECT_EQ(CoCreateInstance(kThingClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            REGDB_E_CLASSNOTREG);
}

TEST(ClassRegistry, ProgIdsCompareWithoutCase) {
  testing::RegisterThing();
  const std::u16string known[] = {u"Panlift.Thing", u"panlift.thing", u"PANLIFT.THING.1"};
  for (const auto& name : known) {
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(name.c_str(), &clsid), S_OK) << testing::Narrow(name);
    EXPECT_TRUE(IsEqualCLSID(clsid, kThingClsid));
  }
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromProgID(u"Panlift.Thing.2", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(CLSIDFromProgID(u"", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(CLSIDFromProgID(nullptr, &clsid), E_INVALIDARG);
}

TEST(ClassIdStrings, ParseAndFormat) {
  const GUID expected{0x00000566, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
  struct Case {
    std::u16string text;
    HRESULT hr;
  } const cases[] = {
      {u"{00000566-0000-0010-8000-00AA006D2EA4}", S_OK},
      {u"{00000566-0000-0010-8000-00aa006d2ea4}", S_OK},
      {u"00000566-0000-0010-8000-00AA006D2EA4", CO_E_CLASSSTRING},
      {u"{00000566-0000-0010-8000-00AA006D2EA4", CO_E_CLASSSTRING},
      {u"{00000566-0000-0010-8000-00AA006D2EA4}x", CO_E_CLASSSTRING},
      {u"{00000566-0000-0010-8000-00AA006D2EA}", CO_E_CLASSSTRING},
      {u"{00000566-0000-0010-8000-00AA006D2EAG}", CO_E_CLASSSTRING},
      {u"{00000566+0000-0010-8000-00AA006D2EA4}", CO_E_CLASSSTRING},
      {u"{", CO_E_CLASSSTRING},
      {u"Adodb.Stream", CO_E_CLASSSTRING},
  };
  for (const auto& c : cases) {
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromString(c.text.c_str(), &clsid), c.hr) << testing::Narrow(c.text);
    if (c.hr == S_OK) {
      EXPECT_TRUE(IsEqualGUID(clsid, expected));
    }
  }
  CLSID clsid = expected;
  EXPECT_EQ(CLSIDFromString(u"", &clsid), S_OK);
  EXPECT_TRUE(IsEqualGUID(clsid, CLSID_NULL));

  OLECHAR buffer[39];
  EXPECT_EQ(StringFromGUID2(expected, buffer, 39), 39);
  EXPECT_EQ(std::u16string_view(buffer), u"{00000566-0000-0010-8000-00AA006D2EA4}");
  EXPECT_EQ(StringFromGUID2(expected, buffer, 38), 0);
}

// An object that may refuse to run.
class Runnable final : public DispatchObject, public IRunnableObject {
 public:
  explicit Runnable(HRESULT answer)
      : DispatchObject(FindTypeInfo(testing::TestTypeLib(), u"IThing").Get()), answer_(answer) {}
  HRESULT QueryInterface(REFIID riid, void** object) override {
    return DispatchObject::QueryInterface(riid, object);
  }
  ULONG AddRef() override { return DispatchObject::AddRef(); }
  ULONG Release() override { return DispatchObject::Release(); }
  HRESULT GetRunningClass(CLSID*) override { return E_NOTIMPL; }
  HRESULT Run(void*) override { return answer_; }
  BOOL IsRunning() override { return answer_ == S_OK; }
  HRESULT LockRunning(BOOL, BOOL) override { return S_OK; }
  HRESULT SetContainedObject(BOOL) override { return S_OK; }

 protected:
  HRESULT QueryOtherInterface(REFIID riid, void** object) override {
    if (!IsEqualIID(riid, IID_IRunnableObject)) return DispatchObject::QueryOtherInterface(riid, object);
    *object = static_cast<IRunnableObject*>(this);
    AddRef();
    return S_OK;
  }

 private:
  HRESULT answer_;
};

TEST(OleRun, RunsObjectsThatCanRun) {
  ComPtr<IDispatch> plain = ComPtr<IDispatch>::Adopt(new Thing);
  EXPECT_EQ(OleRun(plain.Get()), S_OK);
  ComPtr<IDispatch> willing = ComPtr<IDispatch>::Adopt(new Runnable(S_OK));
  EXPECT_EQ(OleRun(willing.Get()), S_OK);
  ComPtr<IDispatch> refusing = ComPtr<IDispatch>::Adopt(new Runnable(E_OUTOFMEMORY));
  EXPECT_EQ(OleRun(refusing.Get()), E_OUTOFMEMORY);
  EXPECT_EQ(OleRun(nullptr), E_INVALIDARG);
}

TEST(TypeInfo, CoclassCreatesAnInstanceOfItsClass) {
  testing::RegisterThing();
  ComScope com;
  ComPtr<ITypeInfo> coclass = FindTypeInfo(testing::TestTypeLib(), u"Thing");
  ComPtr<IDispatch> object;
  ASSERT_EQ(coclass->CreateInstance(nullptr, IID_IDispatch, object.PutVoid()), S_OK);
  EXPECT_EQ(Thing::Live(), 1);
  ComPtr<ITypeInfo> iface = FindTypeInfo(testing::TestTypeLib(), u"IThing");
  ComPtr<IDispatch> none;
  EXPECT_EQ(iface->CreateInstance(nullptr, IID_IDispatch, none.PutVoid()), TYPE_E_WRONGTYPEKIND);
  object.Reset();
  EXPECT_EQ(Thing::Live(), 0);
}

TEST(Ole32Module, ExportsTheCallsWithTheirArgumentSizes) {
  RegisterOle32Module();
  RegisterOle32Module();  // again: no harm
  HMODULE module = LoadLibraryA("OLE32.DLL");
  ASSERT_NE(module, nullptr);
  struct Case {
    const char* name;
    FARPROC address;
    int bytes;
  } const cases[] = {
      {"CoInitialize", reinterpret_cast<FARPROC>(&CoInitialize), 4},
      {"CoUninitialize", reinterpret_cast<FARPROC>(&CoUninitialize), 0},
      {"OleInitialize", reinterpret_cast<FARPROC>(&OleInitialize), 4},
      {"CoCreateInstance", reinterpret_cast<FARPROC>(&CoCreateInstance), 20},
      {"CLSIDFromProgID", reinterpret_cast<FARPROC>(&CLSIDFromProgID), 8},
      {"OleRun", reinterpret_cast<FARPROC>(&OleRun), 4},
  };
  for (const auto& c : cases) {
    FARPROC address = GetProcAddress(module, c.name);
    EXPECT_EQ(address, c.address) << c.name;
    EXPECT_EQ(GetExportArgumentBytes(module, address), c.bytes) << c.name;
  }
  EXPECT_EQ(GetProcAddress(module, "coinitialize"), nullptr);  // export names keep their case
  // Called through the module, as a DLL command would.
  auto coInitialize = reinterpret_cast<HRESULT (*)(void*)>(GetProcAddress(module, "CoInitialize"));
  auto coUninitialize = reinterpret_cast<void (*)()>(GetProcAddress(module, "CoUninitialize"));
  EXPECT_EQ(coInitialize(nullptr), S_OK);
  coUninitialize();
  EXPECT_TRUE(FreeLibrary(module));
}

}  // namespace
}  // namespace oleaut
