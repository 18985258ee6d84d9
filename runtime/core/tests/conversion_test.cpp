// Numbers from every type of value, hexadecimal texts and the bytes of values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "core_call.h"

namespace core_test {
namespace {

namespace command = runtime::core::command;
namespace types = runtime::types;
using runtime::DoubleArg;
using runtime::FloatArg;
using runtime::IntArg;
using runtime::LongArg;
using runtime::MakeArg;

double ResultDouble(const CommandResult& r) { return runtime::ArgDouble(r); }
float ResultFloat(const CommandResult& r) { return runtime::ArgFloat(r); }

struct NumberCase {
  const char* what;
  CommandArg value;
  double number;
  std::int32_t integer;
  float single;
};

TEST(NumberConversions, ReadEachTypeOfValue) {
  const std::int32_t array[3] = {1, 1, 7};  // a one-dimensional array: no number
  const NumberCase cases[] = {
      {"bool true", runtime::BoolArg(true), 1, 1, 1},
      {"bool stored as 5", MakeArg(5, types::Bool), 5, 5, 5},
      {"byte", MakeArg(0xFF, types::Byte), 255, 255, 255},
      {"short", MakeArg(0xFFFE, types::Short), -2, -2, -2},
      {"int", IntArg(-123456), -123456, -123456, -123456},
      {"long", LongArg(0x100000005LL), 4294967301.0, 5, 4294967301.0f},
      {"float", FloatArg(-2.75f), -2.75, -2, -2.75f},
      {"double", DoubleArg(-2.7), -2.7, -2, -2.7f},
      {"double 2.9", DoubleArg(2.9), 2.9, 2, 2.9f},
      {"double beyond 32 bits", DoubleArg(4294967297.5), 4294967297.5, 1, 4294967297.5f},
      {"double beyond 64 bits", DoubleArg(1e30), 1e30, 0, 1e30f},
      {"double NaN", DoubleArg(std::nan("")), std::nan(""), 0, std::nanf("")},
      {"double beyond float", DoubleArg(1e300), 1e300, 0, std::numeric_limits<float>::infinity()},
      {"subroutine pointer", MakeArg(0x80001000u, types::SubroutinePointer), 2147487744.0,
       static_cast<std::int32_t>(0x80001000u), 2147487744.0f},
      {"date-time", DoubleArg(45000.5, types::DateTime), 0, 0, 0},
      {"byte set", runtime::ByteSetArg(runtime::EmptyByteSet), 0, 0, 0},
      {"array", runtime::PointerArg(array, runtime::ArrayOf(types::Int)), 0, 0, 0},
      {"library type", MakeArg(1, types::ComObject), 0, 0, 0},
      {"left out", runtime::OmittedArg, 0, 0, 0},
  };
  for (const NumberCase& c : cases) {
    const double number = ResultDouble(Call(command::ToNumber, {c.value}));
    const float single = ResultFloat(Call(command::ToFloat, {c.value}));
    if (std::isnan(c.number)) {
      EXPECT_TRUE(std::isnan(number)) << c.what;
      EXPECT_TRUE(std::isnan(single)) << c.what;
    } else {
      EXPECT_EQ(number, c.number) << c.what;
      EXPECT_EQ(single, c.single) << c.what;
    }
    EXPECT_EQ(CallInt(command::ToInteger, {c.value}), c.integer) << c.what;
  }
}

TEST(NumberConversions, ResultsCarryTheirTypes) {
  EXPECT_EQ(Call(command::ToNumber, {IntArg(1)}).type, types::Double);
  EXPECT_EQ(Call(command::ToInteger, {IntArg(1)}).type, types::Int);
  EXPECT_EQ(Call(command::ToFloat, {IntArg(1)}).type, types::Float);
}

struct TextNumberCase {
  const char* text;
  double number;
  std::int32_t integer;
};

TEST(NumberConversions, ReadTheNumberAtTheStartOfATextWithFullWidthFormsFolded) {
  const TextNumberCase cases[] = {
      {"12", 12, 12},
      {"\xA3\xB1\xA3\xB2", 12, 12},  // １２
      {"12abc", 12, 12},
      {"abc", 0, 0},
      {"", 0, 0},
      {"  \t\r\n-8.5", -8.5, -8},
      {"\xA1\xA1\xA3\xAD\xA3\xB3\xA3\xAE\xA3\xB5", -3.5, -3},  // 　－３．５
      {"+7", 7, 7},
      {"-", 0, 0},
      {".5", 0.5, 0},
      {"5.", 5, 5},
      {"1.5e3x", 1500, 1},
      {"1.5E-2", 0.015, 1},
      {"2e", 2, 2},
      {"2e+", 2, 2},
      {"0x1A", 0, 0},  // decimal only
      {"inf", 0, 0},
      {"1,234", 1, 1},
      {"80", 80, 80},
      {"3221225472", 3221225472.0, 2147483647},  // beyond 32 bits: the nearest 32-bit value
      {"-99999999999999999999", -1e20, -2147483647 - 1},
      {"1e400", std::numeric_limits<double>::infinity(), 1},
      {"-1e400", -std::numeric_limits<double>::infinity(), -1},
      {"1e-400", 0, 1},
      {"\xB0\xA3\xB1", 0, 0},  // B0 A3 is one character: no full-width digit here
  };
  for (const TextNumberCase& c : cases) {
    EXPECT_EQ(ResultDouble(Call(command::ToNumber, {Text(c.text)})), c.number) << c.text;
    EXPECT_EQ(CallInt(command::ToInteger, {Text(c.text)}), c.integer) << c.text;
    EXPECT_EQ(ResultFloat(Call(command::ToFloat, {Text(c.text)})), static_cast<float>(c.number)) << c.text;
  }
}

TEST(NumberConversions, FoldEveryFullWidthForm) {
  // Each full-width form of "!" to "~" (row A3) and the extra forms of row A1 fold to one
  // byte: a digit between two of them still reads as the digit.
  for (int trail = 0xA1; trail <= 0xFE; ++trail) {
    const char folded = static_cast<char>(trail - 0x80);
    if (folded >= '0' && folded <= '9') {
      const char text[] = {'\xA3', static_cast<char>(trail), '\0'};
      EXPECT_EQ(CallInt(command::ToInteger, {Text(text)}), folded - '0');
    }
  }
  EXPECT_EQ(CallInt(command::ToInteger, {Text("\xA1\xA1 \xA3\xAB\xA3\xB9")}), 9);  // 　 ＋９
}

TEST(ToHexText, WritesUpperCaseDigitsWithoutPadding) {
  const std::pair<std::int32_t, const char*> cases[] = {
      {0, "0"}, {10, "A"}, {255, "FF"}, {0x1234ABCD, "1234ABCD"}, {-1, "FFFFFFFF"}, {-2147483647 - 1, "80000000"}};
  for (const auto& [value, expected] : cases) EXPECT_EQ(CallText(command::ToHexText, {IntArg(value)}), expected);
  EXPECT_EQ(CallText(command::ToHexText, {DoubleArg(255.9)}), "FF");
}

struct BytesCase {
  const char* what;
  CommandArg value;
  std::string expected;
};

TEST(ToByteSet, GivesTheStoredBytes) {
  double d = 1.5;
  std::string doubleBytes(8, '\0');
  std::memcpy(doubleBytes.data(), &d, 8);
  // {1 dimension, 3 elements} of shorts, then an array of texts (no bytes).
  const unsigned char shorts[] = {1, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 2, 0xFF, 0xFF};
  const unsigned char noShorts[] = {1, 0, 0, 0, 0, 0, 0, 0};
  const char* textElements[] = {"a"};
  unsigned char texts[4 + 4 + sizeof textElements] = {1, 0, 0, 0, 1, 0, 0, 0};
  std::memcpy(texts + 8, textElements, sizeof textElements);
  ByteSet set(std::string("\x01\x00\x02", 3));
  const BytesCase cases[] = {
      {"text", Text("ab\xD6\xD0"), "ab\xD6\xD0"},
      {"empty text", Text(""), ""},
      {"byte set", set.Arg(), std::string("\x01\x00\x02", 3)},
      {"empty byte set", runtime::ByteSetArg(runtime::EmptyByteSet), ""},
      {"bool", runtime::BoolArg(true), std::string("\x01\x00\x00\x00", 4)},
      {"int", IntArg(0x04030201), "\x01\x02\x03\x04"},
      {"byte", MakeArg(0x7F, types::Byte), "\x7F"},
      {"short", MakeArg(0x0201, types::Short), "\x01\x02"},
      {"long", LongArg(0x0807060504030201LL), "\x01\x02\x03\x04\x05\x06\x07\x08"},
      {"float", FloatArg(1.0f), std::string("\x00\x00\x80\x3F", 4)},
      {"double", DoubleArg(1.5), doubleBytes},
      {"date-time", DoubleArg(1.5, types::DateTime), doubleBytes},
      {"array of shorts", runtime::PointerArg(shorts, runtime::ArrayOf(types::Short)),
       std::string("\x01\x00\x00\x02\xFF\xFF", 6)},
      {"empty array", runtime::PointerArg(noShorts, runtime::ArrayOf(types::Short)), ""},
      {"array of texts", runtime::PointerArg(texts, runtime::ArrayOf(types::Text)), ""},
      {"library type", MakeArg(1, types::Variant), ""},
      {"left out", runtime::OmittedArg, ""},
  };
  for (const BytesCase& c : cases) EXPECT_EQ(TakeByteSet(Call(command::ToByteSet, {c.value})), c.expected) << c.what;
}

}  // namespace
}  // namespace core_test
