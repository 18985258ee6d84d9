// Scripts come from downloaded pages: whatever they do, they reach nothing of the host,
// end within the engine's limits, and leave the engine (and the process) usable.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "duktape_heap.h"
#include "printable.h"
#include "script/engine.h"
#include "stopwatch.h"

namespace {

using script::Engine;
using script::Status;
using script::Value;

std::u16string U(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

constexpr std::int32_t kShortTimeoutMs = 300;
// For scripts that only another limit should end: long enough for a slow (sanitizer) build.
constexpr std::int32_t kGenerousTimeoutMs = 60000;

void ExpectUsable(Engine& engine) {
  EXPECT_EQ(engine.Eval(u"6 * 7").value, Value(std::int32_t{42}));
}

struct Hostile {
  const char* name;
  const char* code;
  Status status;  // Timeout: run with the short timeout, otherwise with the generous one
};

// Each fails with the status given; the same engine and a new one work afterwards.
const Hostile kHostile[] = {
    {"endless loop", "for (;;) {}", Status::Timeout},
    {"endless loop that catches the timeout", "for (;;) { try { for (;;) {} } catch (e) {} }",
     Status::Timeout},
    {"caught timeout, then a normal end", "try { for (;;) {} } catch (e) {} 1", Status::Timeout},
    {"endless loop in finally", "try { throw 1; } finally { for (;;) {} }", Status::Timeout},
    {"catastrophic backtracking", "/(x+x+)+y/.test('xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx')",
     Status::Timeout},
    {"backtracking in replace", "'xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx'.replace(/(x+x+)+y/g, '')",
     Status::Timeout},
    {"endless recursion", "function f() { return f() + 1; } f()", Status::ScriptError},
    {"endless recursion through native calls", "function f() { return [0].map(f); } f()",
     Status::ScriptError},
    {"string doubling", "var s = 'x'; for (;;) s += s;", Status::OutOfMemory},
    {"array growth", "var a = []; for (;;) a.push(a.length);", Status::OutOfMemory},
    {"many small objects", "(function () { var a = []; for (;;) a.push({v: a.length}); })()",
     Status::OutOfMemory},
    {"one huge buffer", "new ArrayBuffer(512 * 1024 * 1024)", Status::OutOfMemory},
    {"huge join", "new Array(1e6).join('abcdefgh')", Status::OutOfMemory},
    {"deeply nested array literal", nullptr, Status::ScriptError},
    {"deeply nested JSON", "JSON.parse(new Array(100001).join('['))", Status::ScriptError},
    {"deeply nested pattern",
     "new RegExp(new Array(100001).join('(') + new Array(100001).join(')'))", Status::ScriptError},
    {"deeply nested arrays printed",
     "var a = []; for (var i = 0; i < 10000; i++) a = [a]; String(a)", Status::ScriptError},
    {"deeply nested arrays as JSON",
     "var a = []; for (var i = 0; i < 10000; i++) a = [a]; JSON.stringify(a)", Status::ScriptError},
};

std::u16string CodeOf(const Hostile& h) {
  if (h.code != nullptr) return U(h.code);
  return std::u16string(100000, u'[') + std::u16string(100000, u']');
}

TEST(Sandbox, HostileScriptsFailWithinTheirLimitsAndTheEngineGoesOn) {
  Engine engine;
  ASSERT_TRUE(engine.SetLanguage(u"javascript"));
  engine.SetMemoryLimit(4 * 1024 * 1024);
  for (const Hostile& h : kHostile) {
    SCOPED_TRACE(h.name);
    ASSERT_TRUE(
        engine.SetTimeout(h.status == Status::Timeout ? kShortTimeoutMs : kGenerousTimeoutMs));
    const Stopwatch watch;
    const script::Result result = engine.ExecuteStatement(CodeOf(h));
    EXPECT_EQ(result.status, h.status) << Printable(result.message);
    EXPECT_FALSE(result.message.empty());
    // Ended by the deadline itself, not by one of the engine's own (far larger) limits.
    if (h.status == Status::Timeout) {
      EXPECT_LT(watch.ElapsedMs(), WithinTimeoutMs(kShortTimeoutMs));
    }
    ExpectUsable(engine);
    Engine fresh;
    ASSERT_TRUE(fresh.SetLanguage(u"javascript"));
    ExpectUsable(fresh);
  }
}

TEST(Sandbox, RunningOutOfMemoryKeepsTheScriptsUnlessTheyFilledTheHeap) {
  Engine engine;
  ASSERT_TRUE(engine.SetLanguage(u"javascript"));
  engine.SetMemoryLimit(4 * 1024 * 1024);
  ASSERT_TRUE(engine.AddCode(u"var kept = []; function f() { return 1; }").ok());
  // Garbage once the call has failed: the heap and its scripts stay.
  EXPECT_EQ(engine.ExecuteStatement(u"(function () { var a = []; for (;;) a.push({}); })()").status,
            Status::OutOfMemory);
  EXPECT_EQ(engine.Run(u"f", {}).value, Value(std::int32_t{1}));
  // Held by a global: the heap could serve nothing more, so a fresh one takes its place.
  EXPECT_EQ(engine.ExecuteStatement(u"for (;;) kept.push({});").status, Status::OutOfMemory);
  ExpectUsable(engine);
  EXPECT_EQ(engine.Run(u"f", {}).status, Status::UnknownName);
}

TEST(Sandbox, HostileFunctionsFailThroughRunAndDefaultValue) {
  Engine engine;
  ASSERT_TRUE(engine.SetLanguage(u"javascript"));
  ASSERT_TRUE(engine.SetTimeout(kShortTimeoutMs));
  ASSERT_TRUE(engine
                  .AddCode(u"function spin() { for (;;) {} }\n"
                           u"var trap = {toString: function () { for (;;) {} }};\n"
                           u"function throwTrap() { throw trap; }")
                  .ok());
  Stopwatch watch;
  EXPECT_EQ(engine.Run(u"spin", {}).status, Status::Timeout);
  EXPECT_LT(watch.ElapsedMs(), WithinTimeoutMs(kShortTimeoutMs));

  // Printing an object runs its toString: bounded as well.
  const script::Result trap = engine.Eval(u"trap");
  ASSERT_TRUE(trap.ok());
  watch = Stopwatch();
  EXPECT_EQ(std::get<std::shared_ptr<script::ScriptObject>>(trap.value)->DefaultValue().status,
            Status::Timeout);
  EXPECT_LT(watch.ElapsedMs(), WithinTimeoutMs(kShortTimeoutMs));

  // So is describing a thrown value that will not print.
  watch = Stopwatch();
  const script::Result thrown = engine.Run(u"throwTrap", {});
  EXPECT_EQ(thrown.status, Status::ScriptError);
  EXPECT_FALSE(thrown.message.empty());
  EXPECT_LT(watch.ElapsedMs(), WithinTimeoutMs(kShortTimeoutMs));
  ExpectUsable(engine);
}

TEST(Sandbox, DescribingWhatAScriptThrewStaysWithinTheCallsTimeout) {
  // The script uses most of its second, then throws a value that never prints: the
  // description gets only what is left of the second, not a second of its own.
  constexpr std::int32_t kTimeoutMs = 1000;
  Engine engine;
  ASSERT_TRUE(engine.SetLanguage(u"javascript"));
  ASSERT_TRUE(engine.SetTimeout(kTimeoutMs));
  ASSERT_TRUE(engine
                  .AddCode(u"var trap = {toString: function () { for (;;) {} }};\n"
                           u"function lateThrow() {\n"
                           u"  var end = Date.now() + 800;\n"
                           u"  while (Date.now() < end) {}\n"
                           u"  throw trap;\n"
                           u"}")
                  .ok());
  const Stopwatch watch;
  const script::Result thrown = engine.Run(u"lateThrow", {});
  EXPECT_LT(watch.ElapsedMs(), kTimeoutMs + 500);
  EXPECT_EQ(thrown.status, Status::ScriptError) << Printable(thrown.message);
  // A plain error thrown just as late is still described.
  ASSERT_TRUE(engine
                  .AddCode(u"function lateError() {\n"
                           u"  var end = Date.now() + 990;\n"
                           u"  while (Date.now() < end) {}\n"
                           u"  throw new TypeError('late');\n"
                           u"}")
                  .ok());
  const script::Result late = engine.Run(u"lateError", {});
  if (late.status == Status::ScriptError) {
    EXPECT_EQ(Printable(late.message), "TypeError: late");
  }
  ExpectUsable(engine);
}

TEST(Sandbox, TimeoutZeroStopsAtOnceAndMinusOneNever) {
  Engine engine;
  ASSERT_TRUE(engine.SetLanguage(u"javascript"));
  ASSERT_TRUE(engine.SetTimeout(0));
  const Stopwatch watch;
  EXPECT_EQ(engine.Eval(u"for (;;) {}").status, Status::Timeout);
  EXPECT_EQ(engine.Eval(u"/(x+x+)+y/.test('xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx')").status,
            Status::Timeout);
  EXPECT_LT(watch.ElapsedMs(), WithinTimeoutMs(0));
  ASSERT_TRUE(engine.SetTimeout(Engine::kNoTimeout));
  // Long enough to meet the engine's periodic checks many times over.
  EXPECT_EQ(engine.Eval(u"var n = 0; for (var i = 0; i < 3000000; i++) n++; n").value,
            Value(std::int32_t{3000000}));
}

TEST(Sandbox, DefaultMemoryLimitHolds) {
  Engine engine;
  ASSERT_TRUE(engine.SetLanguage(u"javascript"));
  ASSERT_TRUE(engine.SetTimeout(Engine::kNoTimeout));  // only the memory limit can end it
  EXPECT_EQ(engine.ExecuteStatement(u"var s = 'x'; for (;;) s += s;").status, Status::OutOfMemory);
  ExpectUsable(engine);
}

TEST(Sandbox, LimitBelowWhatTheHeapNeedsFailsCallsNotTheProcess) {
  Engine engine;
  engine.SetMemoryLimit(1024);
  ASSERT_TRUE(engine.SetLanguage(u"javascript"));
  const script::Result starved = engine.Eval(u"'a' + [1, 2, 3].join('-')");
  EXPECT_EQ(starved.status, Status::OutOfMemory) << Printable(starved.message);
  engine.SetMemoryLimit(Engine::kDefaultMemoryLimit);
  EXPECT_EQ(engine.Eval(u"'a' + [1, 2, 3].join('-')").value, Value(u"a1-2-3"));
}

TEST(Sandbox, NoHostObjectsAreReachable) {
  Engine engine;
  ASSERT_TRUE(engine.SetLanguage(u"javascript"));
  // Every global there is: the language's own, and computation on the script's own data.
  const script::Result globals = engine.Eval(
      u"Object.getOwnPropertyNames(this).sort().join(' ') + ' | ' +"
      u" Object.getOwnPropertySymbols(this).length");
  ASSERT_TRUE(globals.ok());
  EXPECT_EQ(Printable(std::get<std::u16string>(globals.value)),
            "Array ArrayBuffer Boolean Buffer CBOR DataView Date Error EvalError Float32Array "
            "Float64Array Function Infinity Int16Array Int32Array Int8Array JSON Math NaN Number "
            "Object Proxy RangeError ReferenceError Reflect RegExp String Symbol SyntaxError "
            "TextDecoder TextEncoder TypeError URIError Uint16Array Uint32Array Uint8Array "
            "Uint8ClampedArray decodeURI decodeURIComponent encodeURI encodeURIComponent escape "
            "eval globalThis isFinite isNaN parseFloat parseInt undefined unescape | 0");
  for (const char* name :
       {"Duktape", "require", "print", "alert", "console", "process", "module", "exports", "load",
        "readFile", "performance", "XMLHttpRequest", "ActiveXObject", "WScript"}) {
    const script::Result type = engine.Eval(U(std::string("typeof ") + name));
    EXPECT_EQ(type.value, Value(u"undefined")) << name;
  }
}

TEST(Sandbox, StringArgumentsStayStrings) {
  // Text that begins like one of the engine's internal symbol markers stays plain text.
  Engine engine;
  ASSERT_TRUE(engine.SetLanguage(u"javascript"));
  ASSERT_TRUE(engine.AddCode(u"function describe(s) { return typeof s + ':' + s.length; }").ok());
  for (char16_t first : {u'\u0080', u'\u0081', u'\u0082', u'\u00ff', u'\uffff'}) {
    const std::vector<Value> argument{std::u16string{first, u'a', u'b'}};
    EXPECT_EQ(engine.Run(u"describe", argument).value, Value(u"string:3"));
  }
}

// The heap below the engine: a fatal engine error gives up that heap, frees its memory
// and returns to the caller instead of ending the process.
TEST(SandboxHeap, FatalErrorAbandonsTheHeap) {
  std::unique_ptr<script::detail::Heap> heap = script::detail::Heap::Create(16 * 1024 * 1024);
  ASSERT_NE(heap, nullptr);
  EXPECT_GT(heap->MemoryInUse(), 0u);
  const auto fatal = [](duk_context* ctx, void*) -> duk_ret_t {
    duk_push_string(ctx, "some garbage");  // the heap dies with it on the stack
    duk_fatal(ctx, "broken on purpose");
    return 0;
  };
  EXPECT_EQ(heap->Call(1000, fatal, nullptr, 0), script::detail::CallStatus::Fatal);
  EXPECT_TRUE(heap->Dead());
  EXPECT_EQ(heap->FatalMessage(), "broken on purpose");
  EXPECT_EQ(heap->MemoryInUse(), 0u);
  EXPECT_EQ(heap->Call(1000, fatal, nullptr, 0), script::detail::CallStatus::Fatal);
}

}  // namespace
