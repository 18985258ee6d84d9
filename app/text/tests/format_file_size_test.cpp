#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/testing/program_test.h"
#include "app/text/format_file_size.h"

namespace app {
namespace {

TEST(FormatFileSize, FiveCharactersOfTheNumberAndItsUnit) {
  const double kPB = std::pow(1024.0, 5);
  struct Case {
    double size;
    const char* text;
  } cases[] = {
      {0, "0B"},
      {1023, "1023B"},
      {1024, "1KB"},
      {1536, "1.5KB"},
      {1048575, "1023.KB"},  // cut, not rounded
      {734003201, "700.0MB"},
      {123456789, "117.7MB"},
      {1073741824, "1GB"},
      {3500000000, "3.259GB"},
      {1023.99999995, "0.999KB"},  // the tolerance lets it divide
      {kPB, "1PB"},
      {1023 * kPB, "1023PB"},
      // No unit past PB: the whole number stays whole there.
      {1024 * kPB, "1024PB"},
      {1024 * 1024 * kPB, "1048576PB"},
      {123456.75 * kPB, "123456PB"},
      {1e40, "8.881784197001e+24PB"},  // in exponent form: whole
  };
  for (const Case& c : cases) EXPECT_EQ(testing::TakeText(FormatFileSize(c.size)), c.text) << c.size;
}

TEST(FormatFileSize, ASizeThatIsNoFiniteNumberIsNothing) {
  for (double size : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                      std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(testing::TakeText(FormatFileSize(size)), "0B") << size;
  }
}

}  // namespace
}  // namespace app
