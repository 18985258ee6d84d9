// Arguments passed by reference: what the member leaves in an output parameter comes back
// into the caller's variable, converted to the variable's type, and what the variable held
// before is released (the sanitizer build checks the texts, arrays and records).
#include <gtest/gtest.h>

#include "command_calls.h"
#include "oleaut/record_info.h"
#include "records.h"
#include "testsupport/probe_object.h"

namespace automation_test {
namespace {

using namespace runtime;
using probe::Probe;

IUnknown* Held(void* record) { return record ? static_cast<automation::ComObjectRecord*>(record)->object : nullptr; }

class ByReferenceArguments : public AutomationTest {
 protected:
  void SetUp() override {
    AutomationTest::SetUp();
    Probe::Register();
    ASSERT_TRUE(ArgBool(Invoke(ComObject::Create, {Object(object_), TextArg("Panlift.Probe"), OmittedArg})));
  }
  IDispatch* Callee() { return static_cast<IDispatch*>(Held(object_)); }
  void Call(const char* member, std::vector<CommandArg> args) {
    args.insert(args.begin(), {Object(object_), TextArg(member)});
    Invoke(ComObject::Method, args);
  }
  std::string TextOf(void* variant, CommandArg index = OmittedArg) {
    return TakeText(Invoke(Variant::GetText, {VariantArg(variant), index}));
  }
};

TEST_F(ByReferenceArguments, AnObjectOutputReplacesTheVariablesObjectAndReleasesTheOldOne) {
  void* other = NewComObjectRecord();
  ASSERT_TRUE(ArgBool(Invoke(ComObject::Create, {Object(other), TextArg("Panlift.Probe"), OmittedArg})));
  int live = Probe::live;
  Call("Adopt", {ByReference(&other, types::ComObject)});
  EXPECT_EQ(LastComError(), 0);
  EXPECT_EQ(Held(other), Callee());
  EXPECT_EQ(Probe::live, live - 1);  // the variable's old object is gone

  // Out only, into a variable that holds no record yet, then into the same one again.
  void* made = nullptr;
  Call("Spawn", {ByReference(&made, types::ComObject)});
  EXPECT_EQ(LastComError(), 0);
  ASSERT_NE(Held(made), nullptr);
  EXPECT_NE(Held(made), Callee());
  EXPECT_EQ(Probe::live, live);
  IUnknown* first = Held(made);
  Call("Spawn", {ByReference(&made, types::ComObject)});
  EXPECT_NE(Held(made), first);
  EXPECT_EQ(Probe::live, live);  // the first one made was released
  FreeComObjectRecord(made);
  FreeComObjectRecord(other);
}

TEST_F(ByReferenceArguments, AVariantOutputReceivesTheWholeValue) {
  void* value = NewVariantBlock();
  Invoke(Variant::Assign, {VariantArg(value), IntArg(5)});
  Call("Fill", {ByReference(&value, types::Variant)});
  EXPECT_EQ(LastComError(), 0);
  EXPECT_EQ(static_cast<VARIANT*>(value)->vt, VT_BSTR);
  EXPECT_EQ(TextOf(value), "filled:vt3");
  Call("Fill", {ByReference(&value, types::Variant)});
  EXPECT_EQ(TextOf(value), "filled:vt8");  // the text it held before was freed
  FreeVariantBlock(value);
}

TEST_F(ByReferenceArguments, OutOnlyParametersIgnoreWhatTheVariablesHeld) {
  Text text = NewText("old");
  std::int32_t number = 5;
  Call("Produce", {ByReference(&text, types::Text), ByReference(&number, types::Int)});
  EXPECT_EQ(LastComError(), 0);
  EXPECT_STREQ(text, "produced");
  EXPECT_EQ(number, 42);
  FreeBlock(text);
}

TEST_F(ByReferenceArguments, AnArrayComesBackAsTheMembersNewArray) {
  void* values = NewVariantBlock();
  ASSERT_TRUE(ArgBool(Invoke(Variant::CreateArray, {VariantArg(values), IntArg(3), IntArg(3)})));  // of VT_I4
  for (std::int32_t k = 1; k <= 3; ++k) Invoke(Variant::Assign, {VariantArg(values), IntArg(k * 10), IntArg(k)});
  Call("Grow", {ByReference(&values, types::Variant)});
  EXPECT_EQ(LastComError(), 0);
  ASSERT_EQ(static_cast<VARIANT*>(values)->vt, VT_ARRAY | VT_I4);
  EXPECT_EQ(oleaut::SafeArrayElementCount(static_cast<VARIANT*>(values)->parray), 4u);
  EXPECT_EQ(TextOf(values, IntArg(1)), "20");
  EXPECT_EQ(TextOf(values, IntArg(3)), "60");
  EXPECT_EQ(TextOf(values, IntArg(4)), "3");
  FreeVariantBlock(values);

  // Out only: the member makes the array, the variable's old one is freed.
  void* names = NewVariantBlock();
  Invoke(Variant::CreateArray, {VariantArg(names), IntArg(6), IntArg(1)});  // of VT_BSTR
  Call("Names", {ByReference(&names, types::Variant)});
  EXPECT_EQ(LastComError(), 0);
  EXPECT_EQ(static_cast<VARIANT*>(names)->vt, VT_ARRAY | VT_BSTR);
  EXPECT_EQ(TextOf(names, IntArg(2)), "b");
  FreeVariantBlock(names);

  // Passed by value, the array stays the caller's as it was.
  void* kept = NewVariantBlock();
  Invoke(Variant::CreateArray, {VariantArg(kept), IntArg(3), IntArg(2)});
  Call("Grow", {VariantArg(kept)});
  EXPECT_EQ(oleaut::SafeArrayElementCount(static_cast<VARIANT*>(kept)->parray), 2u);
  FreeVariantBlock(kept);
}

TEST_F(ByReferenceArguments, ValuesAreCoercedToTheDeclaredTypeAndBackToTheVariablesType) {
  std::int32_t whole = 7;
  Call("Halve", {ByReference(&whole, types::Int)});  // an alias of double
  EXPECT_EQ(LastComError(), 0);
  EXPECT_EQ(whole, 4);  // 3.5, rounded half to even

  Text text = NewText("5");
  Call("Halve", {ByReference(&text, types::Text)});
  EXPECT_STREQ(text, "2.5");
  FreeBlock(text);

  void* variant = NewVariantBlock();
  Invoke(Variant::Assign, {VariantArg(variant), IntArg(3)});
  Call("Halve", {ByReference(&variant, types::Variant)});
  EXPECT_EQ(static_cast<VARIANT*>(variant)->vt, VT_R8);  // a Variant takes the value as it came
  EXPECT_EQ(static_cast<VARIANT*>(variant)->dblVal, 1.5);
  FreeVariantBlock(variant);

  std::int16_t small = 4;
  Text digits = NewText("7");
  Call("Widen", {ByReference(&small, types::Short), ByReference(&digits, types::Text)});
  EXPECT_EQ(LastComError(), 0);  // int and unsigned int arrive as VT_I4 and VT_UI4
  EXPECT_EQ(small, 5);
  EXPECT_STREQ(digits, "9");
  FreeBlock(digits);

  std::int32_t mode = 1;
  Call("NextMode", {ByReference(&mode, types::Int)});  // an enumeration
  EXPECT_EQ(mode, 2);

  // A text that is no number cannot take the declared type: it goes as it is, and the
  // member's conversion refuses it.
  Text word = NewText("abc");
  Call("Halve", {ByReference(&word, types::Text)});
  EXPECT_EQ(LastComError(), -16);
  EXPECT_STREQ(word, "abc");
  FreeBlock(word);
}

// A ComObject that holds a record (an IRecordInfo and its data), as values of record type are kept.
void* PointRecord(LONG x, LONG y) {
  auto* record = static_cast<automation::ComObjectRecord*>(NewComObjectRecord());
  IRecordInfo* info = probe::PointInfo();
  info->AddRef();
  record->object = info;
  record->recordData = info->RecordCreate();
  *static_cast<probe::Point*>(record->recordData) = {x, y};
  return record;
}

TEST_F(ByReferenceArguments, ARecordArgumentIsTheCallsOwnCopy) {
  void* point = PointRecord(3, 4);
  auto norm = [&](CommandArg arg) {
    return ArgDouble(Invoke(ComObject::NumberMethod, {Object(object_), TextArg("Norm"), arg}));
  };
  EXPECT_EQ(norm(Object(point)), 7.0);
  EXPECT_EQ(norm(ByReference(&point, types::ComObject)), 7.0);  // copied, then freed
  EXPECT_EQ(LastComError(), 0);

  // A member that replaces the value behind a VARIANT reference frees the call's copy,
  // never the record the ComObject holds; a text does not go back into a ComObject.
  Call("Fill", {ByReference(&point, types::ComObject)});
  EXPECT_EQ(LastComError(), 0);
  EXPECT_EQ(Held(point), probe::PointInfo());
  EXPECT_EQ(norm(Object(point)), 7.0);
  FreeComObjectRecord(point);
}

}  // namespace
}  // namespace automation_test
