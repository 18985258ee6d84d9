// ToText for every type of value, and the date-time form.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core_call.h"

namespace core_test {
namespace {

namespace command = runtime::core::command;
namespace types = runtime::types;
using runtime::DoubleArg;
using runtime::FloatArg;
using runtime::IntArg;
using runtime::MakeArg;

struct TextCase {
  const char* what;
  CommandArg value;
  std::string expected;
};

TEST(ToText, WritesNumbersAndBools) {
  const TextCase cases[] = {
      {"byte", MakeArg(200, types::Byte), "200"},
      {"short", MakeArg(0x8000, types::Short), "-32768"},
      {"int", IntArg(-2147483647 - 1), "-2147483648"},
      {"long", runtime::LongArg(-9223372036854775807LL - 1), "-9223372036854775808"},
      {"double 1.5", DoubleArg(1.5), "1.5"},
      {"double 0.1", DoubleArg(0.1), "0.1"},
      {"double whole", DoubleArg(42), "42"},
      {"double 13 digits", DoubleArg(3.14159265358979), "3.14159265359"},
      {"double large", DoubleArg(1e20), "1e+20"},
      {"double small", DoubleArg(-1.25e-7), "-1.25e-07"},
      {"double 2^53", DoubleArg(9007199254740992.0), "9.007199254741e+15"},
      {"double zero", DoubleArg(0), "0"},
      {"double infinity", DoubleArg(std::numeric_limits<double>::infinity()), "inf"},
      {"float 0.1", FloatArg(0.1f), "0.1"},
      {"float 3.14159274", FloatArg(3.14159274f), "3.14159"},
      {"float 1234567", FloatArg(1234567.0f), "1.23457e+06"},
      // A tie at the seventh digit rounds away from zero (printf alone would give 2.01562).
      {"float 2.015625", FloatArg(2.015625f), "2.01563"},
      {"float -2.015625", FloatArg(-2.015625f), "-2.01563"},
      {"float 999999.5", FloatArg(999999.5f), "1e+06"},
      {"float small", FloatArg(1.5e-30f), "1.5e-30"},
      {"bool true", runtime::BoolArg(true), "\xD5\xE6"},    // 真
      {"bool 7", MakeArg(7, types::Bool), "\xD5\xE6"},      // 真
      {"bool false", runtime::BoolArg(false), "\xBC\xD9"},  // 假
      {"subroutine pointer", MakeArg(0x1000, types::SubroutinePointer), ""},
      {"library type", MakeArg(1, types::ComObject), ""},
      {"left out", runtime::OmittedArg, ""},
  };
  for (const TextCase& c : cases) EXPECT_EQ(CallText(command::ToText, {c.value}), c.expected) << c.what;
}

TEST(ToText, CopiesTextsAndStopsBytesAtTheFirstZero) {
  ByteSet withZero(std::string("ab\0cd", 5));
  ByteSet withoutZero("xyz");
  ByteSet leadingZero(std::string("\0a", 2));
  // {1 dimension, 4 elements} of bytes; of ints {1, 2}; two dimensions of bytes; texts.
  const unsigned char bytes[] = {1, 0, 0, 0, 4, 0, 0, 0, 'h', 'i', 0, 'x'};
  const unsigned char ints[] = {1, 0, 0, 0, 2, 0, 0, 0, 'o', 'k', 0, 0, 'x', 0, 0, 0};
  const unsigned char square[] = {2, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 'a', 'b'};
  const unsigned char texts[] = {1, 0, 0, 0, 0, 0, 0, 0};
  const TextCase cases[] = {
      {"text", Text("\xD6\xD0 text"), "\xD6\xD0 text"},
      {"empty text", Text(""), ""},
      {"byte set with a zero", withZero.Arg(), "ab"},
      {"byte set", withoutZero.Arg(), "xyz"},
      {"byte set starting with zero", leadingZero.Arg(), ""},
      {"empty byte set", runtime::ByteSetArg(runtime::EmptyByteSet), ""},
      {"array of bytes", runtime::PointerArg(bytes, runtime::ArrayOf(types::Byte)), "hi"},
      {"array of ints", runtime::PointerArg(ints, runtime::ArrayOf(types::Int)), "ok"},
      {"two-dimensional array", runtime::PointerArg(square, runtime::ArrayOf(types::Byte)), "ab"},
      {"array of texts", runtime::PointerArg(texts, runtime::ArrayOf(types::Text)), ""},
      {"null array", runtime::PointerArg(nullptr, runtime::ArrayOf(types::Byte)), ""},
  };
  for (const TextCase& c : cases) EXPECT_EQ(CallText(command::ToText, {c.value}), c.expected) << c.what;
}

// "%d年%d月%d日" in GBK, then the time as far as it is not zero.
std::string Date(int year, int month, int day) {
  return std::to_string(year) + "\xC4\xEA" + std::to_string(month) + "\xD4\xC2" + std::to_string(day) + "\xC8\xD5";
}
constexpr char kHour[] = "\xCA\xB1";    // 时
constexpr char kMinute[] = "\xB7\xD6";  // 分
constexpr char kSecond[] = "\xC3\xEB";  // 秒

TEST(ToText, WritesDateTimesInCalendarFields) {
  const TextCase cases[] = {
      {"the epoch", DoubleArg(0, types::DateTime), Date(1899, 12, 30)},
      {"a day", DoubleArg(45356, types::DateTime), Date(2024, 3, 5)},
      {"leap day", DoubleArg(45351, types::DateTime), Date(2024, 2, 29)},
      {"hour only", DoubleArg(45356.25, types::DateTime), Date(2024, 3, 5) + "6" + kHour},
      {"hour and minute", DoubleArg(45356 + (7 * 60 + 8) / 1440.0, types::DateTime),
       Date(2024, 3, 5) + "7" + kHour + "8" + kMinute},
      {"seconds", DoubleArg(45356 + (7 * 3600 + 8 * 60 + 9) / 86400.0, types::DateTime),
       Date(2024, 3, 5) + "7" + kHour + "8" + kMinute + "9" + kSecond},
      {"seconds past midnight", DoubleArg(45356 + 5 / 86400.0, types::DateTime),
       Date(2024, 3, 5) + "0" + kHour + "0" + kMinute + "5" + kSecond},
      // Before the epoch the fraction still counts from midnight.
      {"before the epoch", DoubleArg(-1.25, types::DateTime), Date(1899, 12, 29) + "6" + kHour},
      {"rounded up to the next day", DoubleArg(45356.9999999, types::DateTime), Date(2024, 3, 6)},
      {"first day", DoubleArg(-657434, types::DateTime), Date(100, 1, 1)},
      {"last day", DoubleArg(2958465, types::DateTime), Date(9999, 12, 31)},
      {"below the range", DoubleArg(-1e9, types::DateTime), Date(100, 1, 1)},
      {"above the range", DoubleArg(1e9, types::DateTime), Date(9999, 12, 31)},
      {"not a number", DoubleArg(std::nan(""), types::DateTime), Date(1899, 12, 30)},
  };
  for (const TextCase& c : cases) EXPECT_EQ(CallText(command::ToText, {c.value}), c.expected) << c.what;
}

}  // namespace
}  // namespace core_test
