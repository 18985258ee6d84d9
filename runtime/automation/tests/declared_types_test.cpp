// What a call hands to Invoke for parameters and variables of each kind of declared type:
// the library's own types (interface, alias, enumeration, record), platform ints, pointers,
// and a retval parameter, which takes no argument.
#include <gtest/gtest.h>

#include <vector>

#include "command_calls.h"
#include "records.h"
#include "testsupport/handmade_dispatch.h"
#include "testsupport/probe_object.h"

namespace automation_test {
namespace {

using namespace runtime;
using probe::Probe;

// The probe's type information with an Invoke that only notes what it was given.
class Recorder : public HandmadeDispatch {
 public:
  HRESULT Invoke(DISPID, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
    lastFlags = flags;
    types.clear();
    for (UINT i = params->cArgs; i-- > 0;) types.push_back(params->rgvarg[i].vt);  // in written order
    return S_OK;
  }

  WORD lastFlags = 0;
  std::vector<VARTYPE> types;
};

class DeclaredTypes : public AutomationTest {
 protected:
  void SetUp() override {
    AutomationTest::SetUp();
    Probe::Register();
    recorder_ = new Recorder;
    automation::StoreObject(*static_cast<automation::ComObjectRecord*>(object_), recorder_);
    recorder_->Release();  // the record holds the only reference now
    other_ = NewComObjectRecord();
    ASSERT_TRUE(ArgBool(Invoke(ComObject::Create, {Object(other_), TextArg("Panlift.Probe"), OmittedArg})));
  }
  void TearDown() override {
    FreeComObjectRecord(other_);
    AutomationTest::TearDown();
  }
  std::vector<VARTYPE> Passed(const char* member, std::vector<CommandArg> args) {
    args.insert(args.begin(), {Object(object_), TextArg(member)});
    Invoke(ComObject::Method, args);
    EXPECT_EQ(LastComError(), 0) << member;
    return recorder_->types;
  }
  Recorder* recorder_ = nullptr;
  void* other_ = nullptr;
};

TEST_F(DeclaredTypes, ParametersGetTheVariantTypeTheirDeclarationResolvesTo) {
  using Types = std::vector<VARTYPE>;
  void* empty = nullptr;
  std::int32_t number = 1;
  std::int16_t small = 2;
  // The library's dispatch interface: the object's IDispatch.
  EXPECT_EQ(Passed("Partner", {Object(other_)}), Types{VT_DISPATCH});
  // A pointer to it: by reference.
  EXPECT_EQ(Passed("Spawn", {ByReference(&empty, types::ComObject)}), Types{VT_BYREF | VT_DISPATCH});
  // An alias of double, an enumeration, int and unsigned int, each behind a pointer.
  EXPECT_EQ(Passed("Halve", {ByReference(&number, types::Int)}), Types{VT_BYREF | VT_R8});
  EXPECT_EQ(Passed("NextMode", {ByReference(&small, types::Short)}), Types{VT_BYREF | VT_I4});
  EXPECT_EQ(Passed("Widen", {ByReference(&small, types::Short), ByReference(&number, types::Int)}),
            (Types{VT_BYREF | VT_I4, VT_BYREF | VT_UI4}));
  // A record held by a ComObject goes as a record, also to a pointer to the record type.
  auto* point = static_cast<automation::ComObjectRecord*>(NewComObjectRecord());
  point->object = probe::PointInfo();
  point->object->AddRef();
  point->recordData = probe::PointInfo()->RecordCreate();
  EXPECT_EQ(Passed("Norm", {Object(point)}), Types{VT_RECORD});
  FreeComObjectRecord(point);
  FreeComObjectRecord(empty);
}

TEST_F(DeclaredTypes, VariablesOfInterfaceOrArrayTypeAreWrittenByReference) {
  void* weights = NewVariantBlock();
  Invoke(Variant::CreateArray, {VariantArg(weights), IntArg(5), IntArg(2)});  // of VT_R8
  const struct {
    const char* name;
    CommandArg value;
    INVOKEKIND kind;
  } cases[] = {
      {"Buddy", Object(other_), INVOKE_PROPERTYPUTREF},       // the library's interface
      {"Friend", Object(other_), INVOKE_PROPERTYPUTREF},      // an alias of it
      {"Weights", VariantArg(weights), INVOKE_PROPERTYPUTREF},  // an array
      {"Factor", DoubleArg(1.5), INVOKE_PROPERTYPUT},           // an alias of double
      {"Counter", IntArg(3), INVOKE_PROPERTYPUT},
  };
  for (const auto& c : cases) {
    Invoke(ComObject::WriteProperty, {Object(object_), TextArg(c.name), c.value});
    EXPECT_EQ(recorder_->lastFlags, c.kind) << c.name;
    // The probe itself takes the value either way.
    EXPECT_TRUE(ArgBool(Invoke(ComObject::WriteProperty, {Object(other_), TextArg(c.name), c.value}))) << c.name;
  }
  FreeVariantBlock(weights);
}

TEST_F(DeclaredTypes, ARetvalParameterTakesNoArgument) {
  EXPECT_EQ(ArgDouble(Invoke(ComObject::NumberMethod, {Object(other_), TextArg("Measure"), TextArg("abcd")})), 4.0);
  EXPECT_EQ(LastComError(), 0);
  Invoke(ComObject::NumberMethod, {Object(other_), TextArg("Measure"), TextArg("abcd"), IntArg(1)});
  EXPECT_EQ(LastComError(), -5);  // too many, found before Invoke
}

}  // namespace
}  // namespace automation_test
