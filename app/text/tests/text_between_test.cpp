#include <gtest/gtest.h>

#include "app/testing/program_test.h"
#include "app/text/text_between.h"

namespace app {
namespace {

TEST(TextBetween, TheTextBetweenTheFirstLeftAndTheFirstRightAfterIt) {
  struct Case {
    const char* text;
    const char* left;
    const char* right;
    const char* between;
  } cases[] = {
      {"a[x]b", "[", "]", "x"},
      {"a[x", "[", "]", ""},
      {"a[]b", "[", "]", ""},
      {"a]b[x]y[z]", "[", "]", "x"},  // a right before the left does not count
      {"var conf = {\"a\":1};\nvar n", "var conf = ", ";\n", "{\"a\":1}"},
      {"ab]c", "<<<", "]", "b"},  // left missing: the rest starts at its length - 1
  };
  for (const Case& c : cases) {
    EXPECT_EQ(testing::TakeText(TextBetween(c.text, c.left, c.right)), c.between) << c.text;
  }
}

}  // namespace
}  // namespace app
