// What the engine gives back: values as the script makes them, errors as results, and
// the life of the calls around them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "printable.h"
#include "script/engine.h"

namespace {

using script::Engine;
using script::Null;
using script::ScriptObject;
using script::Status;
using script::Value;
using ObjectRef = std::shared_ptr<ScriptObject>;

std::u16string U(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

class EngineResults : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(engine.SetLanguage(u"javascript")); }
  Value EvalOk(std::string_view code) {
    script::Result result = engine.Eval(U(code));
    EXPECT_TRUE(result.ok()) << code << ": " << Printable(result.message);
    return result.value;
  }
  std::u16string DefaultOf(const Value& value) {
    const ObjectRef* object = std::get_if<ObjectRef>(&value);
    if (object == nullptr) {
      ADD_FAILURE() << "not an object";
      return {};
    }
    script::Result text = (*object)->DefaultValue();
    EXPECT_TRUE(text.ok());
    return std::get<std::u16string>(text.value);
  }
  Engine engine;
};

TEST_F(EngineResults, NumbersAreInt32WhenWholeAndInRangeOtherwiseDouble) {
  struct Case {
    const char* code;
    bool isInt;
    double number;
  };
  const Case cases[] = {
      {"2 + 3", true, 5},
      {"-0", true, 0},
      {"2147483647", true, 2147483647.0},
      {"-2147483648", true, -2147483648.0},
      {"2147483648", false, 2147483648.0},
      {"-2147483649", false, -2147483649.0},
      {"1.5", false, 1.5},
      {"6 / 3", true, 2},
      {"1e21", false, 1e21},
      {"1 / 0", false, INFINITY},
  };
  for (const Case& c : cases) {
    const Value value = EvalOk(c.code);
    if (c.isInt) {
      ASSERT_TRUE(std::holds_alternative<std::int32_t>(value)) << c.code;
      EXPECT_EQ(std::get<std::int32_t>(value), static_cast<std::int32_t>(c.number)) << c.code;
    } else {
      ASSERT_TRUE(std::holds_alternative<double>(value)) << c.code;
      EXPECT_EQ(std::get<double>(value), c.number) << c.code;
    }
  }
  const Value nan = EvalOk("NaN");
  ASSERT_TRUE(std::holds_alternative<double>(nan));
  EXPECT_TRUE(std::isnan(std::get<double>(nan)));
}

TEST_F(EngineResults, OtherPrimitives) {
  EXPECT_EQ(EvalOk("'abc'"), Value(u"abc"));
  EXPECT_EQ(EvalOk("''"), Value(u""));
  EXPECT_EQ(EvalOk("true"), Value(true));
  EXPECT_EQ(EvalOk("1 > 2"), Value(false));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(EvalOk("undefined")));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(EvalOk("var declared = 1")));
  EXPECT_TRUE(std::holds_alternative<Null>(EvalOk("null")));
  // A symbol has no host form.
  EXPECT_TRUE(std::holds_alternative<std::monostate>(EvalOk("Symbol('s')")));
}

TEST_F(EngineResults, StringsKeepEveryCodeUnit) {
  EXPECT_EQ(EvalOk("'\\u4e2d\\u6587'"), Value(u"\u4e2d\u6587"));
  EXPECT_EQ(EvalOk("'a\\u0000b'"), Value(std::u16string(u"a\0b", 3)));
  // A pair stays a pair and a lone surrogate stays itself.
  EXPECT_EQ(EvalOk("'\\ud83d\\ude00'"), Value(u"\U0001F600"));
  EXPECT_EQ(EvalOk("'x\\udc00'"), Value(std::u16string{u'x', char16_t(0xDC00)}));
  EXPECT_EQ(EvalOk("'\\ud83d\\ude00'.length"), Value(std::int32_t{2}));
}

TEST_F(EngineResults, ObjectsComeBackAsHandlesWhoseDefaultIsTheirString) {
  const struct {
    const char* code;
    const char16_t* text;
  } cases[] = {
      {"[1, 2]", u"1,2"},
      {"({})", u"[object Object]"},
      {"[{}]", u"[object Object]"},
      {"[{}, {}, {}]", u"[object Object],[object Object],[object Object]"},
      {"[]", u""},
      {"({toString: function () { return 'mine'; }})", u"mine"},
      {"[null, undefined, 3]", u",,3"},
  };
  for (const auto& c : cases) EXPECT_EQ(DefaultOf(EvalOk(c.code)), c.text) << c.code;
  // Functions are objects too.
  EXPECT_TRUE(std::holds_alternative<ObjectRef>(EvalOk("(function named() {})")));
}

TEST_F(EngineResults, HandleFollowsTheLiveObject) {
  ASSERT_TRUE(engine.AddCode(u"var shared = [1]; function grow() { shared.push(2); }").ok());
  const Value handle = EvalOk("shared");
  ASSERT_TRUE(engine.Run(u"grow", {}).ok());
  EXPECT_EQ(DefaultOf(handle), u"1,2");
}

TEST_F(EngineResults, ErrorsAreResultsWithTheirMessage) {
  const struct {
    const char* code;
    Status status;
    const char16_t* message;  // contained in the result's message
  } cases[] = {
      {"throw new Error('boom')", Status::ScriptError, u"Error: boom"},
      {"throw 'plain'", Status::ScriptError, u"plain"},
      {"missingName + 1", Status::ScriptError, u"ReferenceError"},
      {"null.x", Status::ScriptError, u"TypeError"},
      {"1 +", Status::SyntaxError, u"SyntaxError"},
      {"function (", Status::SyntaxError, u"SyntaxError"},
      // Compiling code at run time is the script's business: a run-time error.
      {"eval('1 +')", Status::ScriptError, u"SyntaxError"},
  };
  for (const auto& c : cases) {
    const script::Result result = engine.Eval(U(c.code));
    EXPECT_EQ(result.status, c.status) << c.code;
    EXPECT_NE(result.message.find(c.message), std::u16string::npos) << c.code;
    EXPECT_EQ(engine.ExecuteStatement(U(c.code)).status, c.status) << c.code;
  }
}

TEST_F(EngineResults, RunCallsGlobalFunctionsWithArguments) {
  ASSERT_TRUE(
      engine
          .AddCode(u"function add(a, b) { return a + b; }\n"
                   u"function kinds() { var t = []; for (var i = 0; i < arguments.length; i++)"
                   u" t.push(arguments[i] === null ? 'null' : typeof arguments[i]); return "
                   u"t.join(' '); }\n"
                   u"var notCallable = 1;")
          .ok());
  const std::vector<Value> numbers{std::int32_t{2}, 2.5};
  EXPECT_EQ(engine.Run(u"add", numbers).value, Value(4.5));
  const std::vector<Value> texts{std::u16string(u"\u4e2d"), std::u16string(u"x")};
  EXPECT_EQ(engine.Run(u"add", texts).value, Value(u"\u4e2dx"));
  const std::vector<Value> all{std::monostate{}, Null{}, true,
                               std::int32_t{1},  1.5,    std::u16string(u"s")};
  EXPECT_EQ(engine.Run(u"kinds", all).value, Value(u"undefined null boolean number number string"));

  EXPECT_EQ(engine.Run(u"missing", {}).status, Status::UnknownName);
  EXPECT_EQ(engine.Run(u"Add", numbers).status, Status::UnknownName);  // names are case-sensitive
  EXPECT_EQ(engine.Run(u"notCallable", {}).status, Status::ScriptError);
}

TEST_F(EngineResults, ObjectsGoBackOnlyIntoTheirOwnHeap) {
  ASSERT_TRUE(engine.AddCode(u"function size(a) { return a.length; }").ok());
  const Value array = EvalOk("[1, 2, 3]");
  EXPECT_EQ(engine.Run(u"size", std::vector<Value>{array}).value, Value(std::int32_t{3}));

  Engine other;
  ASSERT_TRUE(other.SetLanguage(u"jscript"));
  ASSERT_TRUE(other.AddCode(u"function size(a) { return a.length; }").ok());
  EXPECT_EQ(other.Run(u"size", std::vector<Value>{array}).status, Status::InvalidArgument);

  // After a reset the old heap lives on for its handles, but is no longer the engine's.
  engine.Reset();
  EXPECT_EQ(DefaultOf(array), u"1,2,3");
  EXPECT_FALSE(std::get<ObjectRef>(array)->BelongsTo(engine));
  ASSERT_TRUE(engine.AddCode(u"function size(a) { return a.length; }").ok());
  EXPECT_EQ(engine.Run(u"size", std::vector<Value>{array}).status, Status::InvalidArgument);
}

TEST_F(EngineResults, HandlesOutliveTheirEngine) {
  Value handle;
  {
    Engine shortLived;
    ASSERT_TRUE(shortLived.SetLanguage(u"javascript"));
    handle = shortLived.Eval(u"[4, 5]").value;
  }
  EXPECT_EQ(DefaultOf(handle), u"4,5");
}

TEST(EngineLifecycle, NothingRunsBeforeALanguageIsSet) {
  Engine engine;
  EXPECT_FALSE(engine.HasLanguage());
  EXPECT_EQ(engine.Eval(u"1").status, Status::NotInitialized);
  EXPECT_EQ(engine.AddCode(u"1").status, Status::NotInitialized);
  EXPECT_EQ(engine.ExecuteStatement(u"1").status, Status::NotInitialized);
  EXPECT_EQ(engine.Run(u"f", {}).status, Status::NotInitialized);
}

TEST(EngineLifecycle, LanguageNames) {
  Engine engine;
  for (const char16_t* name : {u"javascript", u"JavaScript", u"JSCRIPT", u"jscript"}) {
    EXPECT_TRUE(engine.SetLanguage(name));
    EXPECT_EQ(engine.Language(), name);
  }
  EXPECT_FALSE(engine.SetLanguage(u"vbscript"));
  EXPECT_FALSE(engine.SetLanguage(u"javascript "));
  EXPECT_EQ(engine.Language(), u"jscript");  // a refused name changes nothing
  EXPECT_TRUE(engine.SetLanguage(u""));
  EXPECT_EQ(engine.Eval(u"1").status, Status::NotInitialized);
}

TEST(EngineLifecycle, ResetAndNewLanguageForgetTheScripts) {
  Engine engine;
  ASSERT_TRUE(engine.SetLanguage(u"javascript"));
  ASSERT_TRUE(engine.AddCode(u"function f() { return 1; } var g = 2;").ok());
  EXPECT_EQ(engine.Eval(u"g").value, Value(std::int32_t{2}));
  engine.Reset();
  EXPECT_EQ(engine.Run(u"f", {}).status, Status::UnknownName);
  EXPECT_EQ(engine.Language(), u"javascript");
  ASSERT_TRUE(engine.AddCode(u"function f() { return 1; }").ok());
  ASSERT_TRUE(engine.SetLanguage(u"jscript"));
  EXPECT_EQ(engine.Run(u"f", {}).status, Status::UnknownName);
}

TEST(EngineLifecycle, TimeoutSetting) {
  Engine engine;
  EXPECT_EQ(engine.Timeout(), 10000);
  EXPECT_TRUE(engine.SetTimeout(-1));
  EXPECT_TRUE(engine.SetTimeout(0));
  EXPECT_FALSE(engine.SetTimeout(-2));
  EXPECT_EQ(engine.Timeout(), 0);
}

}  // namespace
