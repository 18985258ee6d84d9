// The JSON reader's script: the object text pasted into a fixed function, which returns
// the member that a path names. The engine must give what the reader relies on.
#include <gtest/gtest.h>

#include <string>

#include "printable.h"
#include "script/engine.h"

namespace {

using script::Engine;
using script::Status;
using script::Value;
using ObjectRef = std::shared_ptr<script::ScriptObject>;

std::u16string ReplaceAll(std::u16string text, std::u16string_view from, std::u16string_view to) {
  for (std::size_t at = text.find(from); at != std::u16string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::u16string ReaderScript(std::u16string_view json, std::u16string_view path) {
  std::u16string script =
      u"function mapStr(){\r\nvar people = #####;\r\nreturn people%%%%%\r\n}\r\n";
  script = ReplaceAll(script, u"#####", json);
  return ReplaceAll(script, u"%%%%%", u"." + std::u16string(path));
}

// The text a caller gets from the value: numbers in decimal, objects by their default
// value, nothing for empty and null.
std::u16string TextOf(const Value& value) {
  if (const auto* s = std::get_if<std::u16string>(&value)) return *s;
  if (const auto* i = std::get_if<std::int32_t>(&value)) {
    const std::string digits = std::to_string(*i);
    return std::u16string(digits.begin(), digits.end());
  }
  if (const auto* object = std::get_if<ObjectRef>(&value)) {
    const script::Result text = (*object)->DefaultValue();
    return text.ok() ? std::get<std::u16string>(text.value) : u"(failed)";
  }
  if (std::holds_alternative<std::monostate>(value) ||
      std::holds_alternative<script::Null>(value)) {
    return u"";
  }
  return u"(unexpected type)";
}

struct Read {
  Status statement;
  Status run;
  std::u16string text;
};

// As the reader does it: one engine per read, the script run whole, then the function.
Read ReadJson(std::u16string_view json, std::u16string_view path) {
  Engine engine;
  EXPECT_TRUE(engine.SetLanguage(u"javascript"));
  Read read;
  read.statement = engine.ExecuteStatement(ReaderScript(json, path)).status;
  const script::Result run = engine.Run(u"mapStr", {});
  read.run = run.status;
  read.text = run.ok() ? TextOf(run.value) : u"";
  return read;
}

TEST(JsonTemplate, MembersByPath) {
  const struct {
    const char16_t* json;
    const char16_t* path;
    const char16_t* text;
  } cases[] = {
      {u"{\"a\":1}", u"a", u"1"},
      {u"{\"a\":1}", u"b", u""},
      {u"{\"a\":{\"b\":\"x\"}}", u"a.b", u"x"},
      {u"{\"a\":{\"b\":\"x\"}}", u"a", u"[object Object]"},
      {u"{\"l\":[{},{},{}]}", u"l", u"[object Object],[object Object],[object Object]"},
      {u"{\"l\":[{}]}", u"l", u"[object Object]"},
      {u"{\"l\":[1,2]}", u"l", u"1,2"},
      {u"{\"l\":[{\"x\":1},{\"x\":2}]}", u"l[1].x", u"2"},
      {u"{\"a\":null}", u"a", u""},
      {u"{\"data\":{\"downloadurl\":\"http://h/f?a=1&b=2\"}}", u"data.downloadurl",
       u"http://h/f?a=1&b=2"},
      {u"{\"name\":\"\u4e2d\u6587.txt\",\"size\":\"1024\"}", u"name", u"\u4e2d\u6587.txt"},
      // It is script, not JSON: other key spellings work as well.
      {u"{surl:'abc', 'nid':\"7\"}", u"nid", u"7"},
  };
  for (const auto& c : cases) {
    const Read read = ReadJson(c.json, c.path);
    EXPECT_EQ(read.statement, Status::Ok) << Printable(c.json);
    EXPECT_EQ(read.run, Status::Ok) << Printable(c.json);
    EXPECT_EQ(Printable(read.text), Printable(c.text))
        << Printable(c.json) << " " << Printable(c.path);
  }
}

TEST(JsonTemplate, TextsThatAreNotAnObjectGiveNoValue) {
  const struct {
    const char16_t* json;
    const char16_t* path;
  } cases[] = {
      {u"}", u"a"},             // passes the reader's first-character check, fails here
      {u"{\"a\":", u"a"},       // cut short
      {u"{\"a\":1}", u"a..b"},  // not a member expression
      {u"{\"a\":1}}", u"a"},
  };
  for (const auto& c : cases) {
    const Read read = ReadJson(c.json, c.path);
    EXPECT_EQ(read.statement, Status::SyntaxError) << Printable(c.json) << " " << Printable(c.path);
    EXPECT_EQ(read.run, Status::UnknownName);
    EXPECT_EQ(read.text, u"");
  }
}

TEST(JsonTemplate, ThrowingPathGivesAnErrorNotAValue) {
  const Read read = ReadJson(u"{\"a\":1}", u"b.c");  // undefined.c
  EXPECT_EQ(read.statement, Status::Ok);
  EXPECT_EQ(read.run, Status::ScriptError);
  EXPECT_EQ(read.text, u"");
}

}  // namespace
