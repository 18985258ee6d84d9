// The standard dispatch over a test object: argument checks and conversions, out and
// optional parameters, variable argument lists, typed properties, and every failure code.
#include <gtest/gtest.h>

#include <stdexcept>

#include "oleaut/safearray.h"
#include "oleaut/std_dispatch.h"
#include "testsupport/thing_object.h"

namespace oleaut {
namespace {

using testing::Call;
using testing::CallResult;
using testing::GetProperty;
using testing::I4;
using testing::IdOf;
using testing::Missing;
using testing::PutProperty;
using testing::R8;
using testing::Ref;
using testing::Text;
using testing::Thing;

class DispatchTest : public ::testing::Test {
 protected:
  void TearDown() override {
    thing_.Reset();
    EXPECT_EQ(Thing::Live(), 0);
  }
  IDispatch* thing() { return thing_.Get(); }
  Thing& impl() { return *static_cast<Thing*>(thing_.Get()); }

 private:
  ComPtr<IDispatch> thing_ = ComPtr<IDispatch>::Adopt(new Thing);
};

std::u16string TextResult(const CallResult& r) { return testing::TextOf(*r.value); }

TEST_F(DispatchTest, MethodArgumentsAreConvertedToTheirDeclaredTypes) {
  CallResult r = Call(thing(), u"Add", {I4(2), Text(u"3")});
  ASSERT_EQ(r.hr, S_OK);
  EXPECT_EQ(r.value->vt, VT_I4);
  EXPECT_EQ(r.value->lVal, 5);
  r = Call(thing(), u"add", {R8(2.5), R8(1.5)});  // 2 + 2, each rounded half to even
  EXPECT_EQ(r.value->lVal, 4);
  // An alias of i4 as the declared type.
  r = Call(thing(), u"Twice", {Text(u"21")});
  EXPECT_EQ(r.value->lVal, 42);
}

TEST_F(DispatchTest, FailuresReportTheArgumentAtFault) {
  struct Case {
    const char* what;
    std::vector<VARIANT> args;
    HRESULT hr;
    UINT argError;  // rgvarg index: the last argument is 0
  };
  VARIANT badType;
  VariantInit(&badType);
  badType.vt = 15;
  std::vector<Case> cases;
  cases.push_back({"text that is no number, first", {Text(u"x"), I4(3)}, DISP_E_TYPEMISMATCH, 1});
  cases.push_back({"text that is no number, second", {I4(3), Text(u"y")}, DISP_E_TYPEMISMATCH, 0});
  cases.push_back({"too large", {R8(3e9), I4(1)}, DISP_E_OVERFLOW, 1});
  cases.push_back({"unknown type", {badType, I4(1)}, DISP_E_BADVARTYPE, 1});
  cases.push_back({"omitted required", {Missing(), I4(1)}, DISP_E_PARAMNOTOPTIONAL, 1});
  cases.push_back({"too many", {I4(1), I4(2), I4(3)}, DISP_E_BADPARAMCOUNT, 0xFFFFFFFF});
  cases.push_back({"too few", {I4(1)}, DISP_E_BADPARAMCOUNT, 0xFFFFFFFF});
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    CallResult r = Call(thing(), u"Add", std::move(c.args));
    EXPECT_EQ(r.hr, c.hr);
    EXPECT_EQ(r.argError, c.argError);
    EXPECT_EQ(r.value->vt, VT_EMPTY);
  }
  EXPECT_TRUE(impl().calls.empty());  // no call reached the member
  // The member's own failure passes through.
  EXPECT_EQ(Call(thing(), u"Add", {I4(2147483647), I4(1)}).hr, DISP_E_OVERFLOW);
}

TEST_F(DispatchTest, MembersAreFoundByIdAndKind) {
  const DISPID add = IdOf(thing(), u"ADD");
  ASSERT_NE(add, DISPID_UNKNOWN);
  EXPECT_EQ(testing::Invoke(thing(), 9999, DISPATCH_METHOD, {}).hr, DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(testing::Invoke(thing(), add, DISPATCH_PROPERTYGET, {}).hr, DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(PutProperty(thing(), u"Add", I4(1)).hr, DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(PutProperty(thing(), u"Serial", I4(1)).hr, DISP_E_MEMBERNOTFOUND);  // read-only
  EXPECT_EQ(Call(thing(), u"Unimplemented").hr, DISP_E_MEMBERNOTFOUND);  // no handler
  // A property get asked for together with a method call, as callers often do.
  CallResult r = testing::Invoke(thing(), IdOf(thing(), u"Name"),
                                 DISPATCH_METHOD | DISPATCH_PROPERTYGET, {});
  EXPECT_EQ(TextResult(r), u"thing");

  EXPECT_EQ(thing()->Invoke(add, IID_IDispatch, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr,
                            nullptr),
            DISP_E_UNKNOWNINTERFACE);
  EXPECT_EQ(thing()->Invoke(add, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr),
            E_INVALIDARG);
}

TEST_F(DispatchTest, NamedArgumentsOnlyForPropertyPuts) {
  CallResult r = testing::Invoke(thing(), IdOf(thing(), u"Add"), DISPATCH_METHOD,
                                 {I4(1), I4(2)}, /*namedPut=*/true);
  EXPECT_EQ(r.hr, DISP_E_NONAMEDARGS);
  EXPECT_EQ(PutProperty(thing(), u"Name", Text(u"renamed")).hr, S_OK);
  EXPECT_EQ(impl().name, u"renamed");
  // A put without the named argument is taken as well.
  r = testing::Invoke(thing(), IdOf(thing(), u"Name"), DISPATCH_PROPERTYPUT, {Text(u"again")});
  EXPECT_EQ(r.hr, S_OK);
  EXPECT_EQ(impl().name, u"again");
}

TEST_F(DispatchTest, OutParametersAreWrittenBackThroughReferences) {
  BSTR left = SysAllocString(u"old left");  // replaced and freed
  BSTR right = nullptr;
  CallResult r = Call(thing(), u"Split",
                      {Text(u"ab,cd"), Ref(VT_BSTR, &left), Ref(VT_BSTR, &right)});
  ASSERT_EQ(r.hr, S_OK);
  EXPECT_EQ(r.value->vt, VT_BOOL);
  EXPECT_EQ(r.value->boolVal, VARIANT_TRUE);
  EXPECT_EQ(BstrView(left), u"ab");
  EXPECT_EQ(BstrView(right), u"cd");
  SysFreeString(right);

  // Into a VARIANT, and converted into a variable of another type.
  OwnedVariant anything = OwnedVariant::R8(1.0);
  LONG number = 0;
  r = Call(thing(), u"Split", {Text(u"7,8"), Ref(VT_VARIANT, anything.get()), Ref(VT_I4, &number)});
  ASSERT_EQ(r.hr, S_OK);
  EXPECT_EQ(anything->vt, VT_BSTR);
  EXPECT_EQ(BstrView(anything->bstrVal), u"7");
  EXPECT_EQ(number, 8);

  // Passed by value the outputs go nowhere; a variable that cannot take one fails.
  r = Call(thing(), u"Split", {Text(u"x,y"), Text(u"ignored"), I4(0)});
  EXPECT_EQ(r.hr, S_OK);
  LONG cannot = 0;
  r = Call(thing(), u"Split", {Text(u"1,two"), Ref(VT_BSTR, &left), Ref(VT_I4, &cannot)});
  EXPECT_EQ(r.hr, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(r.argError, 0u);
  EXPECT_EQ(BstrView(left), u"1");  // the outputs before the failing one are written
  SysFreeString(left);
}

TEST_F(DispatchTest, InOutParametersSeeTheCallersValues) {
  LONG a = 5;
  OwnedVariant b = OwnedVariant::I4(3);
  CallResult r = Call(thing(), u"Bump", {Ref(VT_I4, &a), Ref(VT_VARIANT, b.get())});
  ASSERT_EQ(r.hr, S_OK);
  EXPECT_EQ(a, 6);
  EXPECT_EQ(BstrView(b->bstrVal), u"3!");
  // A text variable for the i4 parameter: converted in, and back out.
  BSTR text = SysAllocString(u"41");
  r = Call(thing(), u"Bump", {Ref(VT_BSTR, &text), I4(0)});
  ASSERT_EQ(r.hr, S_OK);
  EXPECT_EQ(BstrView(text), u"42");
  SysFreeString(text);
}

TEST_F(DispatchTest, OptionalParametersAndDefaults) {
  struct Case {
    const char* what;
    std::vector<VARIANT> args;
    std::u16string expected;
  };
  std::vector<Case> cases;
  cases.push_back({"both left off", {Text(u"x")}, u"x|-|7"});
  cases.push_back({"optional given", {Text(u"x"), I4(5)}, u"x|5|7"});
  cases.push_back({"omitted inside the list", {Text(u"x"), Missing(), I4(9)}, u"x|-|9"});
  cases.push_back({"default omitted", {Text(u"x"), Text(u"y"), Missing()}, u"x|y|7"});
  VARIANT empty;
  VariantInit(&empty);
  cases.push_back({"empty is a value", {Text(u"x"), empty}, u"x||7"});
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    CallResult r = Call(thing(), u"Describe", std::move(c.args));
    ASSERT_EQ(r.hr, S_OK);
    EXPECT_EQ(TextResult(r), c.expected);
  }
}

TEST_F(DispatchTest, VariableArgumentListsArePacked) {
  struct Case {
    const char* what;
    std::vector<VARIANT> args;
    double sum;
  };
  std::vector<Case> cases;
  cases.push_back({"none extra", {I4(1)}, 1});
  cases.push_back({"several of mixed types", {I4(1), I4(2), Text(u"3"), R8(4.5)}, 10.5});
  double referred = 10;
  cases.push_back({"a reference is read", {I4(1), Ref(VT_R8, &referred)}, 11});
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    CallResult r = Call(thing(), u"Sum", std::move(c.args));
    ASSERT_EQ(r.hr, S_OK);
    EXPECT_EQ(r.value->vt, VT_R8);
    EXPECT_DOUBLE_EQ(r.value->dblVal, c.sum);
  }
  VARIANT badType;
  VariantInit(&badType);
  badType.vt = 15;
  CallResult r = Call(thing(), u"Sum", {I4(1), I4(2), badType});
  EXPECT_EQ(r.hr, DISP_E_BADVARTYPE);
  EXPECT_EQ(r.argError, 0u);
}

TEST_F(DispatchTest, EnumerationPropertyTakesItsValuesAsI4) {
  CallResult r = GetProperty(thing(), u"Color");
  EXPECT_EQ(r.value->vt, VT_I4);
  EXPECT_EQ(r.value->lVal, 1);
  EXPECT_EQ(PutProperty(thing(), u"Color", Text(u"4")).hr, S_OK);
  EXPECT_EQ(impl().color, 4);
  EXPECT_EQ(PutProperty(thing(), u"Color", I4(3)).hr, E_INVALIDARG);  // the member's check
  EXPECT_EQ(PutProperty(thing(), u"Color", Text(u"blue")).hr, DISP_E_TYPEMISMATCH);
}

TEST_F(DispatchTest, DispatchTypedParameters) {
  ComPtr<IDispatch> other = ComPtr<IDispatch>::Adopt(new Thing);
  static_cast<Thing*>(other.Get())->name = u"other";
  CallResult r = Call(thing(), u"PartnerName", {testing::Object(other.Get())});
  EXPECT_EQ(TextResult(r), u"other");
  VARIANT unknown;
  VariantInit(&unknown);
  SetUnknown(unknown, other.Get());
  r = Call(thing(), u"PartnerName", {unknown});  // asked for its IDispatch
  EXPECT_EQ(TextResult(r), u"other");
  VARIANT empty;
  VariantInit(&empty);
  r = Call(thing(), u"PartnerName", {empty});
  EXPECT_EQ(TextResult(r), u"(none)");
  r = Call(thing(), u"PartnerName", {I4(5)});
  EXPECT_EQ(r.hr, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(r.argError, 0u);
}

TEST_F(DispatchTest, VariablesAsProperties) {
  EXPECT_EQ(PutProperty(thing(), u"Level", Text(u"12")).hr, S_OK);
  EXPECT_EQ(GetProperty(thing(), u"Level").value->lVal, 12);
  EXPECT_EQ(GetProperty(thing(), u"Serial").value->lVal, 42);

  Thing* partner = new Thing;
  VARIANT object = testing::Object(partner);
  partner->Release();
  EXPECT_EQ(PutProperty(thing(), u"Partner", object, DISPATCH_PROPERTYPUTREF).hr, S_OK);
  EXPECT_EQ(Thing::Live(), 2);  // held by the property
  CallResult r = GetProperty(thing(), u"Partner");
  EXPECT_EQ(r.value->vt, VT_DISPATCH);
  EXPECT_EQ(r.value->pdispVal, static_cast<IDispatch*>(partner));
}

TEST_F(DispatchTest, RetvalParameterIsTheResult) {
  Call(thing(), u"Add", {I4(1), I4(1)});
  CallResult r = Call(thing(), u"Tally");
  ASSERT_EQ(r.hr, S_OK);
  EXPECT_EQ(r.value->vt, VT_I4);
  EXPECT_EQ(r.value->lVal, 1);
  // A caller that wants no result.
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(thing()->Invoke(IdOf(thing(), u"Tally"), IID_NULL, 0, DISPATCH_METHOD, &none, nullptr,
                            nullptr, nullptr),
            S_OK);
}

TEST_F(DispatchTest, ExceptionsCarryTheirCodeAndTexts) {
  CallResult r = Call(thing(), u"Fail", {I4(static_cast<LONG>(0x800A0E78))});
  ASSERT_EQ(r.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(static_cast<ULONG>(r.exception.scode), 0x800A0E78u);
  EXPECT_EQ(BstrView(r.exception.bstrDescription), u"failed on purpose");
  EXPECT_EQ(BstrView(r.exception.bstrSource), u"Panlift.Thing");
  ClearExcepInfo(r.exception);

  // A handler that throws is caught at the boundary.
  TypeLibBuilder lib(u"Throwing");
  lib.DispInterface(u"IThrow", GUID_NULL)
      .Method(u"Go")
      .Calls([](DispatchObject&, Invocation&) -> HRESULT { throw std::runtime_error("boom"); });
  ComPtr<ITypeLib> built = lib.Build();
  struct Thrower : DispatchObject {
    explicit Thrower(ITypeInfo* t) : DispatchObject(t) {}
  };
  ComPtr<IDispatch> thrower =
      ComPtr<IDispatch>::Adopt(new Thrower(FindTypeInfo(built.Get(), u"IThrow").Get()));
  r = Call(thrower.Get(), u"Go");
  EXPECT_EQ(r.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(BstrView(r.exception.bstrDescription), u"boom");
  ClearExcepInfo(r.exception);
}

TEST_F(DispatchTest, NamesAndTypeInformation) {
  std::u16string member = u"describe", param = u"C", unknown = u"nothing";
  LPOLESTR names[] = {member.data(), param.data(), unknown.data()};
  DISPID ids[3];
  EXPECT_EQ(thing()->GetIDsOfNames(IID_NULL, names, 3, 0, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], IdOf(thing(), u"Describe"));
  EXPECT_EQ(ids[1], 2);
  EXPECT_EQ(ids[2], DISPID_UNKNOWN);
  EXPECT_EQ(thing()->GetIDsOfNames(IID_NULL, &names[2], 1, 0, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(thing()->GetIDsOfNames(IID_ITypeInfo, names, 1, 0, ids), DISP_E_UNKNOWNINTERFACE);
  EXPECT_EQ(IdOf(thing(), u"Value"), DISPID_VALUE);
  EXPECT_EQ(IdOf(thing(), u"Name"), IdOf(thing(), u"name"));  // get and put share one id

  UINT count = 0;
  thing()->GetTypeInfoCount(&count);
  EXPECT_EQ(count, 1u);
  ComPtr<ITypeInfo> info;
  EXPECT_EQ(thing()->GetTypeInfo(0, 0, info.Put()), S_OK);
  EXPECT_EQ(thing()->GetTypeInfo(1, 0, info.Put()), DISP_E_BADINDEX);

  ComPtr<IUnknown> same;
  EXPECT_EQ(thing()->QueryInterface(testing::kThingIid, same.PutVoid()), S_OK);
  EXPECT_EQ(thing()->QueryInterface(IID_IRunnableObject, same.PutVoid()), E_NOINTERFACE);
  EXPECT_FALSE(same);
}

}  // namespace
}  // namespace oleaut
