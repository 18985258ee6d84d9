#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "command_calls.h"
#include "oleaut/typelib.h"
#include "records.h"
#include "testsupport/handmade_dispatch.h"
#include "testsupport/probe_object.h"

namespace automation_test {
namespace {

using namespace runtime;
using probe::Probe;

bool Create(void* record, const char* progId, const char* typeLibrary = nullptr) {
  std::vector<CommandArg> args = {Object(record), TextArg(progId)};
  args.push_back(typeLibrary ? TextArg(typeLibrary) : OmittedArg);
  return ArgBool(Invoke(ComObject::Create, args));
}

IUnknown* Held(void* record) { return static_cast<automation::ComObjectRecord*>(record)->object; }

class ComObjects : public AutomationTest {
 protected:
  void SetUp() override {
    AutomationTest::SetUp();
    Probe::Register();
  }
  Probe* CreateProbe() {
    EXPECT_TRUE(Create(object_, "Panlift.Probe"));
    return static_cast<Probe*>(static_cast<IDispatch*>(Held(object_)));
  }
};

TEST_F(ComObjects, CreateFromAProgIdOrAClassIdString) {
  int before = Probe::live;
  EXPECT_TRUE(Create(object_, "panlift.PROBE"));
  EXPECT_EQ(Probe::live, before + 1);
  EXPECT_TRUE(Create(object_, "{5A11F7E1-0001-4000-8000-000000000001}"));
  EXPECT_EQ(Probe::live, before + 1);  // the first object was released
  Invoke(ComObject::Clear, {Object(object_)});
  EXPECT_EQ(Probe::live, before);
  EXPECT_EQ(Held(object_), nullptr);
  Invoke(ComObject::Clear, {Object(object_)});  // an empty record stays as it is
}

TEST_F(ComObjects, AClassThatRefusesRemoteServersIsMadeOnTheRetry) {
  EXPECT_TRUE(Create(object_, "Panlift.LocalProbe"));
}

TEST_F(ComObjects, AnUnknownProgIdLeavesTheRecordAsItWas) {
  Probe* probe = CreateProbe();
  EXPECT_FALSE(Create(object_, "Panlift.NoSuchClass"));
  EXPECT_FALSE(Create(object_, "{not a class id}"));
  EXPECT_EQ(Held(object_), static_cast<IDispatch*>(probe));
}

TEST_F(ComObjects, TheOldObjectIsReleasedOnlyAfterTheNewOneExists) {
  CreateProbe();
  int live = Probe::live;
  EXPECT_TRUE(Create(object_, "Panlift.Probe"));
  EXPECT_EQ(Probe::liveAtLastCreation, live);  // the old one was still alive then
  EXPECT_EQ(Probe::live, live);
}

TEST_F(ComObjects, ATypeLibraryFileNamesTheTypeToCreateAndIsRegistered) {
  char directory[] = "/tmp/panlift-typelib-XXXXXX";
  ASSERT_NE(mkdtemp(directory), nullptr);
  std::string path = std::string(directory) + "/probe.tlb";
  FILE* file = std::fopen(path.c_str(), "w");
  std::fputs("typelib ProbeFileLib {5A11F7E1-0300-4000-8000-000000000005} 1.0\n"
             "dispinterface IProbeFile {5A11F7E1-0400-4000-8000-000000000006}\n"
             "  method 1 Echo returns bstr\n"
             "coclass ProbeFile {5A11F7E1-0001-4000-8000-000000000001}\n"
             "  implements IProbeFile default\n",
             file);
  std::fclose(file);
  std::string windowsPath = path;
  for (char& c : windowsPath) {
    if (c == '/') c = '\\';
  }
  int before = Probe::live;
  EXPECT_TRUE(Create(object_, "ProbeFile", windowsPath.c_str()));
  EXPECT_EQ(Probe::live, before + 1);
  GUID libid{0x5A11F7E1, 0x0300, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x05}};
  BSTR registered = nullptr;
  EXPECT_EQ(QueryPathOfRegTypeLib(libid, 1, 0, 0, &registered), S_OK);
  SysFreeString(registered);
  std::remove(path.c_str());
  rmdir(directory);
}

TEST_F(ComObjects, MethodsAndTheirResultTypes) {
  CreateProbe();
  EXPECT_EQ(TakeText(Invoke(ComObject::TextMethod, {Object(object_), TextArg("Echo"), TextArg("\xD6\xD0")})),
            "echo:\xD6\xD0");  // GBK in, UTF-16 inside, GBK out
  CommandResult number = Invoke(ComObject::NumberMethod, {Object(object_), TextArg("Sum"), IntArg(1), DoubleArg(2.0),
                                                       TextArg("3")});
  EXPECT_EQ(ArgDouble(number), 6.0);
  EXPECT_EQ(LastComError(), 0);

  CommandResult variant = Invoke(ComObject::VariantMethod, {Object(object_), TextArg("Bytes")});
  auto* block = static_cast<VARIANT*>(ArgPointer(variant));
  EXPECT_EQ(variant.type, types::Variant);
  EXPECT_EQ(block->vt, VT_ARRAY | VT_UI1);
  FreeVariantBlock(block);

  int before = Probe::invocations;
  Invoke(ComObject::Method, {Object(object_), TextArg("Nothing")});
  EXPECT_EQ(Probe::invocations, before + 1);
  EXPECT_EQ(LastComError(), 0);
}

TEST_F(ComObjects, OmittedArgumentsArriveAsTheStandardMissingValue) {
  Probe* probe = CreateProbe();
  Invoke(ComObject::Method, {Object(object_), TextArg("Describe"), IntArg(1), OmittedArg, IntArg(3)});
  EXPECT_EQ(probe->lastDescription, u"vt3,missing,vt3");
  Invoke(ComObject::Method, {Object(object_), TextArg("Describe"), IntArg(1), OmittedArg, OmittedArg});
  EXPECT_EQ(probe->lastDescription, u"vt3,missing,missing");  // trailing ones dropped, filled in
  void* empty = NewVariantBlock();
  Invoke(ComObject::Method, {Object(object_), TextArg("Describe"), IntArg(1), VariantArg(empty)});
  EXPECT_EQ(probe->lastDescription, u"vt3,missing,missing");  // an empty variant counts as left out
  FreeVariantBlock(empty);
}

TEST_F(ComObjects, ByReferenceOutputsAreWrittenBackToTheVariables) {
  CreateProbe();
  Text text = NewText("ab");
  std::int32_t number = 7;
  Invoke(ComObject::Method, {Object(object_), TextArg("Swap"), ByReference(&text, types::Text),
                          ByReference(&number, types::Int)});
  EXPECT_EQ(LastComError(), 0);
  EXPECT_STREQ(text, "#ab");  // the old text was freed (the sanitizer build checks)
  EXPECT_EQ(number, 207);
  FreeBlock(text);

  // Passed by value, the same arguments change nothing of the caller's.
  Text kept = NewText("cd");
  Invoke(ComObject::Method, {Object(object_), TextArg("Swap"), TextArg(kept), IntArg(1)});
  EXPECT_STREQ(kept, "cd");
  FreeBlock(kept);
}

TEST_F(ComObjects, PropertyWrites) {
  Probe* probe = CreateProbe();
  EXPECT_TRUE(ArgBool(Invoke(ComObject::WriteProperty, {Object(object_), TextArg("Level"), IntArg(5)})));
  EXPECT_EQ(probe->lastLevelType, VT_I4);
  EXPECT_TRUE(ArgBool(Invoke(ComObject::WriteProperty, {Object(object_), TextArg("mode"), IntArg(2)})));
  EXPECT_EQ(probe->mode, 2);  // an enumeration-typed property takes an int
  EXPECT_TRUE(ArgBool(Invoke(ComObject::WriteProperty, {Object(object_), TextArg("Counter"), IntArg(9)})));
  EXPECT_EQ(probe->counter, 9);  // a variable
  EXPECT_FALSE(ArgBool(Invoke(ComObject::WriteProperty, {Object(object_), TextArg("Nope"), IntArg(1)})));
  EXPECT_EQ(LastComError(), -3);
}

TEST_F(ComObjects, ADispatchTypedParameterReceivesTheObjectsDispatch) {
  CreateProbe();
  EXPECT_EQ(TakeText(Invoke(ComObject::TextMethod, {Object(object_), TextArg("Identify"), Object(object_)})), "self");
  void* empty = NewComObjectRecord();
  EXPECT_EQ(TakeText(Invoke(ComObject::TextMethod, {Object(object_), TextArg("Identify"), Object(empty)})), "none");
  FreeComObjectRecord(empty);
}

struct FailureCase {
  const char* member;
  std::vector<CommandArg> args;
  std::int32_t code;
};

TEST_F(ComObjects, FailuresLeaveTheirCodeAndTheEmptyResult) {
  CreateProbe();
  int before = Probe::invocations;
  const FailureCase cases[] = {
      {"Ehco", {TextArg("x")}, -3},                      // misspelt: no Invoke
      {"Echo", {TextArg("x"), TextArg("y")}, -5},        // more arguments than declared
      {"Echo", {ByteSetArg(nullptr)}, -7},               // a byte set cannot be passed
      {"Echo", {MakeArg(0, 0xC0000001u)}, -7},           // nor a type of the program's own
      {"Fail", {}, -11},                                 // the member raised an exception
      {"Describe", {}, -9},                              // too few: the required one is missing
      {"Echo", {}, -9},
  };
  for (const FailureCase& c : cases) {
    std::vector<CommandArg> args = {Object(object_), TextArg(c.member)};
    args.insert(args.end(), c.args.begin(), c.args.end());
    EXPECT_EQ(TakeText(Invoke(ComObject::TextMethod, args)), "<null>") << c.member;
    EXPECT_EQ(LastComError(), c.code) << c.member;
  }
  EXPECT_EQ(Probe::invocations, before);
  // A result that does not convert to the wanted type.
  EXPECT_EQ(ArgDouble(Invoke(ComObject::NumberMethod, {Object(object_), TextArg("Word")})), 0.0);
  EXPECT_EQ(LastComError(), -8);
}

TEST_F(ComObjects, AnEmptyObjectGivesMinusOneAndEmptyResultsOfEveryType) {
  EXPECT_EQ(TakeText(Invoke(ComObject::TextMethod, {Object(object_), TextArg("Echo")})), "<null>");
  EXPECT_EQ(LastComError(), -1);
  EXPECT_EQ(ArgDouble(Invoke(ComObject::NumberMethod, {Object(object_), TextArg("Echo")})), 0.0);
  CommandResult variant = Invoke(ComObject::VariantMethod, {Object(object_), TextArg("Echo")});
  auto* block = static_cast<VARIANT*>(ArgPointer(variant));
  ASSERT_NE(block, nullptr);  // a new, empty variant
  EXPECT_EQ(block->vt, VT_EMPTY);
  FreeVariantBlock(block);
  EXPECT_FALSE(ArgBool(Invoke(ComObject::WriteProperty, {Object(object_), TextArg("Level"), IntArg(1)})));
}

TEST_F(ComObjects, TheLastErrorBelongsToEachThread) {
  Invoke(ComObject::Method, {Object(object_), TextArg("Echo")});
  EXPECT_EQ(LastComError(), -1);
  std::int32_t seen = 1;
  std::thread([&] { seen = LastComError(); }).join();
  EXPECT_EQ(seen, 0);
}

// Objects that stop the call early: no IDispatch, no type information, or an Invoke that
// answers with a given failure.
class BareUnknown : public IUnknown {
 public:
  HRESULT QueryInterface(REFIID riid, void** object) override {
    *object = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown)) return E_NOINTERFACE;
    *object = this;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override {
    ULONG left = --refs;
    if (!left) delete this;
    return left;
  }
  virtual ~BareUnknown() = default;
  ULONG refs = 1;
};

class ScriptedDispatch : public HandmadeDispatch {
 public:
  ScriptedDispatch(bool typeInfo, HRESULT answer) : HandmadeDispatch(typeInfo), answer_(answer) {}
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return answer_; }

 private:
  HRESULT answer_;
};

void Hold(void* record, IUnknown* object) {
  automation::StoreObject(*static_cast<automation::ComObjectRecord*>(record), object);
  object->Release();  // the record holds the only reference now
}

TEST_F(ComObjects, AnObjectWithoutDispatchOrTypeInformation) {
  Hold(object_, new BareUnknown);
  Invoke(ComObject::Method, {Object(object_), TextArg("Echo")});
  EXPECT_EQ(LastComError(), -2);
  Hold(object_, static_cast<IDispatch*>(new ScriptedDispatch(false, S_OK)));
  Invoke(ComObject::Method, {Object(object_), TextArg("Echo")});
  EXPECT_EQ(LastComError(), -4);
}

TEST_F(ComObjects, InvokeFailuresMapToTheirCodes) {
  const std::pair<HRESULT, std::int32_t> cases[] = {
      {DISP_E_BADPARAMCOUNT, -9},   {DISP_E_BADVARTYPE, -10},   {DISP_E_EXCEPTION, -11},
      {DISP_E_MEMBERNOTFOUND, -12}, {DISP_E_NONAMEDARGS, -13},  {DISP_E_OVERFLOW, -14},
      {DISP_E_PARAMNOTFOUND, -15},  {DISP_E_TYPEMISMATCH, -16}, {DISP_E_PARAMNOTOPTIONAL, -17},
      {E_FAIL, -18},                {E_OUTOFMEMORY, -18},
  };
  for (auto [answer, code] : cases) {
    Hold(object_, static_cast<IDispatch*>(new ScriptedDispatch(true, answer)));
    Invoke(ComObject::Method, {Object(object_), TextArg("Nothing")});
    EXPECT_EQ(LastComError(), code) << std::hex << answer;
  }
}

}  // namespace
}  // namespace automation_test
