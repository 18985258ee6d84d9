// "ScriptControl" as a late-bound caller sees it: created from its ProgID and driven
// through IDispatch, with VARIANT results.
#include "script/script_control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "oleaut/com_ptr.h"
#include "oleaut/ole32.h"
#include "printable.h"
#include "stopwatch.h"
#include "testsupport/dispatch_call.h"

namespace {

using oleaut::ComPtr;
using oleaut::OwnedVariant;

std::vector<OwnedVariant> Args(std::u16string_view text) {
  std::vector<OwnedVariant> args;
  args.push_back(OwnedVariant::Text(text));
  return args;
}

// The text a caller gets from a VARIANT result (objects through their default value);
// none when it does not convert (null, for one).
std::u16string TextOf(const VARIANT& v) {
  OwnedVariant text;
  if (FAILED(VariantChangeType(text.get(), &v, 0, VT_BSTR))) return u"";
  return std::u16string(oleaut::BstrView(text->bstrVal));
}

class ScriptControlDispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    RegisterScriptControl();
    control = Create(u"ScriptControl");
    ASSERT_TRUE(control);
  }
  void TearDown() override {
    control.Reset();
    CoUninitialize();
  }
  static ComPtr<IDispatch> Create(const char16_t* progId) {
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(progId, &clsid))) return nullptr;
    ComPtr<IDispatch> object;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch, object.PutVoid()))) {
      return nullptr;
    }
    return object;
  }
  void UseJavaScript(IDispatch* target) {
    ASSERT_EQ(PutProperty(target, u"Language", OwnedVariant::Text(u"javascript")).hr, S_OK);
  }
  DispatchOutcome Eval(std::u16string_view code) {
    return CallMethod(control.Get(), u"Eval", Args(code));
  }
  ComPtr<IDispatch> control;
};

TEST_F(ScriptControlDispatch, ProgIds) {
  for (const char16_t* progId :
       {u"ScriptControl", u"scriptcontrol", u"MSScriptControl.ScriptControl",
        u"MSScriptControl.ScriptControl.1"}) {
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(progId, &clsid), S_OK) << Printable(progId);
    EXPECT_TRUE(IsEqualCLSID(clsid, script::CLSID_ScriptControl));
  }
}

TEST_F(ScriptControlDispatch, PropertiesAndTheirDefaults) {
  EXPECT_EQ(GetProperty(control.Get(), u"Timeout").result->lVal, 10000);
  EXPECT_EQ(GetProperty(control.Get(), u"AllowUI").result->boolVal, VARIANT_TRUE);
  EXPECT_EQ(GetProperty(control.Get(), u"UseSafeSubset").result->boolVal, VARIANT_FALSE);
  EXPECT_EQ(TextOf(*GetProperty(control.Get(), u"Language").result), u"");
  EXPECT_EQ(GetProperty(control.Get(), u"State").hr, E_FAIL);

  EXPECT_EQ(PutProperty(control.Get(), u"Timeout", OwnedVariant::I4(-2)).hr,
            script::CTL_E_INVALIDPROPERTYVALUE);
  EXPECT_EQ(PutProperty(control.Get(), u"Timeout", OwnedVariant::I4(-1)).hr, S_OK);
  EXPECT_EQ(PutProperty(control.Get(), u"Timeout", OwnedVariant::I4(0)).hr, S_OK);
  EXPECT_EQ(GetProperty(control.Get(), u"Timeout").result->lVal, 0);
  EXPECT_EQ(PutProperty(control.Get(), u"Language", OwnedVariant::Text(u"VBScript")).hr,
            script::CTL_E_INVALIDPROPERTYVALUE);

  UseJavaScript(control.Get());
  EXPECT_EQ(TextOf(*GetProperty(control.Get(), u"Language").result), u"javascript");
  EXPECT_EQ(GetProperty(control.Get(), u"State").result->lVal, 0);
  EXPECT_EQ(PutProperty(control.Get(), u"State", OwnedVariant::I4(1)).hr, S_OK);
  EXPECT_EQ(GetProperty(control.Get(), u"State").result->lVal, 1);
  EXPECT_EQ(PutProperty(control.Get(), u"State", OwnedVariant::I4(2)).hr,
            script::CTL_E_INVALIDPROPERTYVALUE);
  EXPECT_EQ(PutProperty(control.Get(), u"AllowUI", OwnedVariant::Bool(false)).hr, S_OK);
  EXPECT_EQ(GetProperty(control.Get(), u"AllowUI").result->boolVal, VARIANT_FALSE);
}

TEST_F(ScriptControlDispatch, NothingRunsBeforeTheLanguageIsSet) {
  DispatchOutcome eval = Eval(u"1");
  EXPECT_EQ(eval.hr, E_FAIL);
  EXPECT_EQ(eval.result->vt, VT_EMPTY);
  EXPECT_EQ(CallMethod(control.Get(), u"AddCode", Args(u"1")).hr, E_FAIL);
  EXPECT_EQ(CallMethod(control.Get(), u"ExecuteStatement", Args(u"1")).hr, E_FAIL);
  EXPECT_EQ(CallMethod(control.Get(), u"Run", Args(u"f")).hr, E_FAIL);
}

TEST_F(ScriptControlDispatch, ResultsAsVariants) {
  UseJavaScript(control.Get());
  const struct {
    const char16_t* code;
    VARTYPE vt;
    const char16_t* text;  // its text through VariantChangeType
  } cases[] = {
      {u"10 + 2", VT_I4, u"12"},
      {u"-0", VT_I4, u"0"},
      {u"2147483648", VT_R8, u"2147483648"},
      {u"0.5", VT_R8, u"0.5"},
      {u"'\u4e2d'", VT_BSTR, u"\u4e2d"},
      {u"true", VT_BOOL, u"-1"},
      {u"undefined", VT_EMPTY, u""},
      {u"[1, 2]", VT_DISPATCH, u"1,2"},
      {u"({a: 1})", VT_DISPATCH, u"[object Object]"},
      {u"[{}, {}, {}]", VT_DISPATCH, u"[object Object],[object Object],[object Object]"},
  };
  for (const auto& c : cases) {
    const DispatchOutcome outcome = Eval(c.code);
    ASSERT_EQ(outcome.hr, S_OK) << Printable(c.code);
    EXPECT_EQ(outcome.result->vt, c.vt) << Printable(c.code);
    EXPECT_EQ(Printable(TextOf(*outcome.result)), Printable(c.text));
  }
  EXPECT_EQ(Eval(u"null").result->vt, VT_NULL);
}

TEST_F(ScriptControlDispatch, Errors) {
  UseJavaScript(control.Get());
  EXPECT_EQ(Eval(u"1 +").hr, script::SCRIPT_E_SYNTAX);
  EXPECT_EQ(CallMethod(control.Get(), u"AddCode", Args(u"function (")).hr, script::SCRIPT_E_SYNTAX);
  EXPECT_EQ(CallMethod(control.Get(), u"ExecuteStatement", Args(u"var = 1")).hr,
            script::SCRIPT_E_SYNTAX);
  const DispatchOutcome thrown =
      CallMethod(control.Get(), u"ExecuteStatement", Args(u"throw new TypeError('bad')"));
  EXPECT_EQ(thrown.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(thrown.description, u"TypeError: bad");
  EXPECT_EQ(CallMethod(control.Get(), u"Run", Args(u"nothing")).hr, DISP_E_UNKNOWNNAME);
}

TEST_F(ScriptControlDispatch, RunTakesAVariableArgumentList) {
  UseJavaScript(control.Get());
  ASSERT_EQ(CallMethod(control.Get(), u"AddCode",
                       Args(u"function subtract(a, b) { return a - b; }\n"
                            u"function count() { return arguments.length; }\n"
                            u"function size(a) { return a.length; }"))
                .hr,
            S_OK);
  std::vector<OwnedVariant> args;
  args.push_back(OwnedVariant::Text(u"subtract"));
  args.push_back(OwnedVariant::I4(10));
  args.push_back(OwnedVariant::R8(3));
  DispatchOutcome seven = CallMethod(control.Get(), u"Run", std::move(args));
  ASSERT_EQ(seven.hr, S_OK);
  EXPECT_EQ(seven.result->vt, VT_I4);
  EXPECT_EQ(seven.result->lVal, 7);
  EXPECT_EQ(CallMethod(control.Get(), u"Run", Args(u"count")).result->lVal, 0);
  EXPECT_EQ(CallMethod(control.Get(), u"Run", Args(u"Count")).hr, DISP_E_UNKNOWNNAME);

  // Objects go back into their own control, and only there.
  DispatchOutcome array = Eval(u"[1, 2, 3]");
  args.clear();
  args.push_back(OwnedVariant::Text(u"size"));
  args.push_back(OwnedVariant::Copy(*array.result));
  EXPECT_EQ(CallMethod(control.Get(), u"Run", std::move(args)).result->lVal, 3);
  ComPtr<IDispatch> other = Create(u"ScriptControl");
  UseJavaScript(other.Get());
  args.clear();
  args.push_back(OwnedVariant::Text(u"size"));
  args.push_back(OwnedVariant::Copy(*array.result));
  ASSERT_EQ(CallMethod(other.Get(), u"AddCode", Args(u"function size(a) { return a.length; }")).hr,
            S_OK);
  EXPECT_EQ(CallMethod(other.Get(), u"Run", std::move(args)).hr, DISP_E_TYPEMISMATCH);
  args.clear();
  args.push_back(OwnedVariant::Text(u"size"));
  OwnedVariant foreign;
  oleaut::SetDispatch(*foreign, other.Get());
  args.push_back(std::move(foreign));
  EXPECT_EQ(CallMethod(control.Get(), u"Run", std::move(args)).hr, DISP_E_TYPEMISMATCH);
}

TEST_F(ScriptControlDispatch, ResetKeepsTheLanguageAndDropsTheCode) {
  UseJavaScript(control.Get());
  ASSERT_EQ(CallMethod(control.Get(), u"AddCode", Args(u"function f() { return 1; }")).hr, S_OK);
  ASSERT_EQ(CallMethod(control.Get(), u"Reset").hr, S_OK);
  EXPECT_EQ(TextOf(*GetProperty(control.Get(), u"Language").result), u"javascript");
  EXPECT_EQ(CallMethod(control.Get(), u"Run", Args(u"f")).hr, DISP_E_UNKNOWNNAME);
}

TEST_F(ScriptControlDispatch, ObjectsOutliveTheirControl) {
  UseJavaScript(control.Get());
  OwnedVariant kept = OwnedVariant::Copy(*Eval(u"['x', 'y']").result);
  control.Reset();
  EXPECT_EQ(TextOf(*kept), u"x,y");
}

TEST_F(ScriptControlDispatch, AScriptThatRunsTooLongEndsAndTheControlGoesOn) {
  UseJavaScript(control.Get());
  constexpr LONG kTimeoutMs = 200;
  ASSERT_EQ(PutProperty(control.Get(), u"Timeout", OwnedVariant::I4(kTimeoutMs)).hr, S_OK);
  for (const char16_t* hostile :
       {u"for (;;) {}", u"/(x+x+)+y/.test('xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx')"}) {
    const Stopwatch watch;
    const DispatchOutcome outcome = CallMethod(control.Get(), u"ExecuteStatement", Args(hostile));
    EXPECT_LT(watch.ElapsedMs(), WithinTimeoutMs(kTimeoutMs)) << Printable(hostile);
    EXPECT_EQ(outcome.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(outcome.description, u"RangeError: execution timeout");
    EXPECT_EQ(Eval(u"6 * 7").result->lVal, 42);
  }
  // An object whose text never ends gives no text.
  DispatchOutcome trap = Eval(u"({toString: function () { for (;;) {} }})");
  ASSERT_EQ(trap.result->vt, VT_DISPATCH);
  OwnedVariant text;
  const Stopwatch watch;
  EXPECT_FALSE(SUCCEEDED(VariantChangeType(text.get(), trap.result.get(), 0, VT_BSTR)));
  EXPECT_LT(watch.ElapsedMs(), WithinTimeoutMs(kTimeoutMs));
}

// The JSON reader's use, call for call: a control per read, released afterwards.
std::u16string ReadJson(std::u16string_view json, std::u16string_view path, HRESULT* statement) {
  std::u16string script = u"function mapStr(){\r\nvar people = ";
  script += json;
  script += u";\r\nreturn people.";
  script += path;
  script += u"\r\n}\r\n";
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromProgID(u"ScriptControl", &clsid), S_OK);
  ComPtr<IDispatch> engine;
  EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch, engine.PutVoid()), S_OK);
  EXPECT_EQ(PutProperty(engine.Get(), u"Language", OwnedVariant::Text(u"javascript")).hr, S_OK);
  *statement = CallMethod(engine.Get(), u"ExecuteStatement", Args(script)).hr;
  const DispatchOutcome run = CallMethod(engine.Get(), u"Run", Args(u"mapStr"));
  return SUCCEEDED(run.hr) ? TextOf(*run.result) : u"";
}

TEST_F(ScriptControlDispatch, JsonReaderCases) {
  const struct {
    const char16_t* json;
    const char16_t* path;
    HRESULT statement;
    const char16_t* text;
  } cases[] = {
      {u"{\"a\":1}", u"a", S_OK, u"1"},
      {u"{\"a\":1}", u"b", S_OK, u""},
      {u"{\"a\":{\"b\":\"x\"}}", u"a.b", S_OK, u"x"},
      {u"{\"a\":{\"b\":\"x\"}}", u"a", S_OK, u"[object Object]"},
      {u"{\"l\":[{},{},{}]}", u"l", S_OK, u"[object Object],[object Object],[object Object]"},
      {u"{\"l\":[{}]}", u"l", S_OK, u"[object Object]"},
      {u"{\"l\":[1,2]}", u"l", S_OK, u"1,2"},
      {u"{\"l\":[{\"x\":1},{\"x\":2}]}", u"l[1].x", S_OK, u"2"},
      {u"{\"a\":null}", u"a", S_OK, u""},
      {u"}", u"a", script::SCRIPT_E_SYNTAX, u""},
  };
  for (const auto& c : cases) {
    HRESULT statement = E_UNEXPECTED;
    EXPECT_EQ(Printable(ReadJson(c.json, c.path, &statement)), Printable(c.text))
        << Printable(c.json) << " " << Printable(c.path);
    EXPECT_EQ(statement, c.statement) << Printable(c.json);
  }
}

}  // namespace
