// The two automation objects the program drives, driven through the commands exactly as
// the program drives them: a character-set conversion through Adodb.Stream and a JSON read
// through ScriptControl.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "adodb/adodb_stream.h"
#include "command_calls.h"
#include "script/script_control.h"

namespace automation_test {
namespace {

using namespace runtime;

class PlatformObjects : public AutomationTest {
 protected:
  void SetUp() override {
    AutomationTest::SetUp();
    RegisterAdodbStream();
    RegisterScriptControl();
  }

  bool Write(const char* property, CommandArg value) {
    return ArgBool(Invoke(ComObject::WriteProperty, {Object(object_), TextArg(property), value}));
  }
  void Method(const char* name, std::vector<CommandArg> args = {}) {
    args.insert(args.begin(), {Object(object_), TextArg(name)});
    Invoke(ComObject::Method, args);
  }

  // Binary in, text in `from`, text out in `to`, binary out, past `skip` bytes.
  std::string ConvertCharset(const std::string& bytes, const char* from, const char* to, std::int32_t skip = -1) {
    EXPECT_TRUE(ArgBool(Invoke(ComObject::Create, {Object(object_), TextArg("Adodb.Stream"), OmittedArg})));
    Write("Type", IntArg(1));
    Method("Open");
    void* input = NewVariantBlock();
    void* byteSet = NewByteSet(bytes.data(), bytes.size());
    Invoke(Variant::Assign, {VariantArg(input), ByteSetArg(byteSet)});
    FreeBlock(byteSet);
    Method("Write", {ByReference(&input, types::Variant)});
    EXPECT_EQ(LastComError(), 0);
    Write("Position", IntArg(0));
    Write("Type", IntArg(2));
    Write("Charset", TextArg(from));
    CommandResult text = Invoke(ComObject::TextMethod, {Object(object_), TextArg("ReadText")});
    Method("Close");
    Method("Open");
    Write("Charset", TextArg(to));
    Method("WriteText", {TextArg(ArgText(text))});
    FreeBlock(ArgPointer(text));
    Write("Position", IntArg(0));
    Write("Type", IntArg(1));
    if (skip >= 0) Write("Position", IntArg(skip));
    CommandResult read = Invoke(ComObject::VariantMethod, {Object(object_), TextArg("Read")});
    void* output = ArgPointer(read);
    void* result = ArgPointer(Invoke(Variant::GetByteSet, {VariantArg(output), OmittedArg}));
    Invoke(Variant::Clear, {VariantArg(output)});
    FreeVariantBlock(output);
    FreeVariantBlock(input);
    Invoke(ComObject::Clear, {Object(object_)});
    std::string converted = result ? std::string(reinterpret_cast<const char*>(ByteSetBytes(result)),
                                                 ByteSetLength(result))
                                   : "";
    FreeBlock(result);
    return converted;
  }

  // The value of `path` in a JSON object, through a script function, as the JSON reader does it.
  std::string ReadJson(const std::string& json, const std::string& path) {
    EXPECT_TRUE(ArgBool(Invoke(ComObject::Create, {Object(object_), TextArg("ScriptControl"), OmittedArg})));
    Write("Language", TextArg("javascript"));
    std::string script = "function mapStr(){\r\nvar people = " + json + ";\r\nreturn people." + path + "\r\n}\r\n";
    Invoke(ComObject::NumberMethod, {Object(object_), TextArg("ExecuteStatement"), TextArg(script.c_str())});
    CommandResult run = Invoke(ComObject::VariantMethod, {Object(object_), TextArg("Run"), TextArg("mapStr")});
    std::string value = TakeText(Invoke(Variant::GetText, {VariantArg(ArgPointer(run)), OmittedArg}));
    FreeVariantBlock(ArgPointer(run));
    Invoke(ComObject::Clear, {Object(object_)});
    return value == "<null>" ? "" : value;
  }
};

TEST_F(PlatformObjects, Utf8ToGbkAndBackThroughTheStream) {
  EXPECT_EQ(ConvertCharset("\xE4\xB8\xAD", "utf-8", "GBK"), "\xD6\xD0");
  EXPECT_EQ(ConvertCharset("\xD6\xD0", "GBK", "utf-8", 3), "\xE4\xB8\xAD");  // past the byte-order mark
  EXPECT_EQ(ConvertCharset("\xD6\xD0", "GBK", "utf-8"), "\xEF\xBB\xBF\xE4\xB8\xAD");
  EXPECT_EQ(ConvertCharset("", "utf-8", "GBK"), "");
}

TEST_F(PlatformObjects, JsonValuesThroughAScriptFunction) {
  struct Case {
    const char* json;
    const char* path;
    const char* value;
  } cases[] = {
      {R"({"a":1})", "a", "1"},
      {R"({"a":1})", "b", ""},
      {R"({"a":{"b":"x"}})", "a.b", "x"},
      {R"({"a":{"b":"x"}})", "a", "[object Object]"},
      {R"({"l":[{},{},{}]})", "l", "[object Object],[object Object],[object Object]"},
      {R"({"l":[{}]})", "l", "[object Object]"},
      {R"({"l":[1,2]})", "l", "1,2"},
      {R"({"l":[{"x":1},{"x":2}]})", "l[1].x", "2"},
      {R"({"n":null,"t":true,"d":2.5})", "n", ""},
      {R"({"n":null,"t":true,"d":2.5})", "t", "-1"},
      {R"({"n":null,"t":true,"d":2.5})", "d", "2.5"},
      {"{\"name\":\"\xD6\xD0.rar\"}", "name", "\xD6\xD0.rar"},  // GBK in the page, GBK out
      {R"({"a":1)", "a", ""},                                     // a script that does not run
  };
  for (const Case& c : cases) EXPECT_EQ(ReadJson(c.json, c.path), c.value) << c.json << " " << c.path;
}

TEST_F(PlatformObjects, AHostileScriptEndsWithinItsTimeoutAndTheNextCallWorks) {
  ASSERT_TRUE(ArgBool(Invoke(ComObject::Create, {Object(object_), TextArg("ScriptControl"), OmittedArg})));
  Write("Language", TextArg("javascript"));
  EXPECT_TRUE(Write("Timeout", IntArg(200)));
  for (const char* hostile : {"for(;;){}", "/(x+x+)+y/.test('xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx')"}) {
    const auto start = std::chrono::steady_clock::now();
    Invoke(ComObject::NumberMethod, {Object(object_), TextArg("ExecuteStatement"), TextArg(hostile)});
    // Ended by its timeout, not by one of the engine's own far larger limits.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200 + 2500)) << hostile;
    EXPECT_EQ(LastComError(), -11);
    EXPECT_EQ(TakeText(Invoke(ComObject::TextMethod, {Object(object_), TextArg("Eval"), TextArg("6*7")})), "42");
  }
  Invoke(ComObject::Clear, {Object(object_)});
  EXPECT_EQ(ReadJson(R"({"a":"after"})", "a"), "after");
}

}  // namespace
}  // namespace automation_test
