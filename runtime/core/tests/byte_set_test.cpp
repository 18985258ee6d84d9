// Byte-set commands.
#include <gtest/gtest.h>

#include "core_call.h"

namespace core_test {
namespace {

namespace command = runtime::core::command;
using runtime::IntArg;

TEST(ByteSets, LengthCountsEveryByte) {
  ByteSet bytes(std::string("a\0b\xFF", 4));
  EXPECT_EQ(CallInt(command::GetByteSetLength, {bytes.Arg()}), 4);
  EXPECT_EQ(CallInt(command::GetByteSetLength, {runtime::ByteSetArg(runtime::EmptyByteSet)}), 0);
  EXPECT_EQ(CallInt(command::GetByteSetLength, {runtime::PointerArg(nullptr, runtime::types::ByteSet)}), 0);
  EXPECT_EQ(CallInt(command::GetByteSetLength, {Text("abc")}), 0);  // not a byte set
}

TEST(ByteSets, LeftClampsTheCount) {
  ByteSet bytes(std::string("\x00\x01\x02\x03", 4));
  const std::pair<std::int32_t, std::string> cases[] = {
      {2, std::string("\x00\x01", 2)}, {4, std::string("\x00\x01\x02\x03", 4)}, {2048, std::string("\x00\x01\x02\x03", 4)},
      {0, ""}, {-1, ""}};
  for (const auto& [n, expected] : cases) {
    EXPECT_EQ(TakeByteSet(Call(command::ByteSetLeft, {bytes.Arg(), IntArg(n)})), expected) << n;
  }
  EXPECT_EQ(TakeByteSet(Call(command::ByteSetLeft, {runtime::ByteSetArg(runtime::EmptyByteSet), IntArg(5)})), "");
}

TEST(ByteSets, BlankIsZeroFilled) {
  EXPECT_EQ(TakeByteSet(Call(command::BlankByteSet, {IntArg(2048)})), std::string(2048, '\0'));
  EXPECT_EQ(TakeByteSet(Call(command::BlankByteSet, {IntArg(1)})), std::string(1, '\0'));
  EXPECT_EQ(TakeByteSet(Call(command::BlankByteSet, {IntArg(0)})), "");
  EXPECT_EQ(TakeByteSet(Call(command::BlankByteSet, {IntArg(-3)})), "");
}

}  // namespace
}  // namespace core_test
