#include <gtest/gtest.h>

#include <string>

#include "app/json/json_get.h"
#include "app/testing/program_test.h"

namespace app {
namespace {

using testing::Gbk;
using testing::TakeText;

struct Read {
  std::string value;
  std::int32_t count;
};

Read Get(const std::string& json, const std::string& path) {
  std::int32_t count = -7;  // set only for an array of objects
  std::string value = TakeText(JsonGet(json.c_str(), path.c_str(), &count));
  return {value, count};
}

TEST(JsonGet, ValuesAndTheHintTexts) {
  struct Case {
    std::string json;
    std::string path;
    std::string value;
    std::int32_t count;
  } cases[] = {
      {R"({"a":1})", "a", "1", -7},
      {R"({"a":1})", "b", "", -7},
      {R"({"a":1})", "", Gbk("参数不应为空"), -7},
      {R"({"a":{"b":"x"}})", "a.b", "x", -7},
      {R"({"a":{"b":"x"}})", "a", Gbk("参数应为a.xxx"), -7},
      {R"({"l":[{},{},{}]})", "l", Gbk("参数应为l[0~2].xxx"), 3},
      {R"({"l":[{}]})", "l", Gbk("参数应为l.xxx"), -7},  // one object in an array prints as an object
      {R"({"l":[1,2]})", "l", "1,2", -7},
      {R"({"l":[{"x":1},{"x":2}]})", "l[1].x", "2", -7},
      {R"({"n":null,"t":true,"d":2.5})", "n", "", -7},
      {R"({"n":null,"t":true,"d":2.5})", "d", "2.5", -7},
      {R"({"data":{"downloadurl":"http:\/\/dl.example\/f?a=1&b=2"}})", "data.downloadurl",
       "http://dl.example/f?a=1&b=2", -7},
      {Gbk(R"({"name":"中文.rar"})"), "name", Gbk("中文.rar"), -7},
      {"", "a", Gbk("JSON格式错误"), -7},
      {R"([{"a":1}])", "a", Gbk("JSON格式错误"), -7},
      {R"( {"a":1})", "a", Gbk("JSON格式错误"), -7},
      {"}", "a", "", -7},  // passes the first-character check, fails in the engine
  };
  for (const Case& c : cases) {
    Read r = Get(c.json, c.path);
    EXPECT_EQ(r.value, c.value) << c.json << " " << c.path;
    EXPECT_EQ(r.count, c.count) << c.json << " " << c.path;
  }
  EXPECT_EQ(TakeText(JsonGet(R"({"a":"x"})", "a")), "x");  // count left out
}

// Each ends within the engine's own limits, gives no value, and the next call works.
TEST(JsonGet, HostileInput) {
  std::string manyNumbers = R"({"l":[0)";
  std::string numbersText = "0";
  std::string manyObjects = R"({"l":[{})";
  for (int i = 1; i < 100000; ++i) {
    manyNumbers += "," + std::to_string(i);
    numbersText += "," + std::to_string(i);
    manyObjects += ",{}";
  }
  manyNumbers += "]}";
  manyObjects += "]}";
  struct Case {
    const char* what;
    std::string json;
    std::string path;
    std::string value;
    std::int32_t count;
  } cases[] = {
      {"a script that never ends", "{}; for(;;){}", "a", "", -7},
      {"a text that is no object literal", R"({"a":)", "a", "", -7},
      {"a path that is no member expression", R"({"a":1})", "a b)(", "", -7},
      {"a path that throws", R"({"a":1})", "b.c", "", -7},
      {"an array of 100 000 numbers", manyNumbers, "l", numbersText, -7},
      {"an array of 100 000 objects", manyObjects, "l", Gbk("参数应为l[0~99999].xxx"), 100000},
  };
  for (const Case& c : cases) {
    Read r = Get(c.json, c.path);
    EXPECT_EQ(r.value, c.value) << c.what;
    EXPECT_EQ(r.count, c.count) << c.what;
    EXPECT_EQ(Get(R"({"a":"next"})", "a").value, "next") << c.what;
  }
}

}  // namespace
}  // namespace app
