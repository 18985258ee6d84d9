#include <gtest/gtest.h>

#include <cstring>

#include "command_calls.h"
#include "oleaut/safearray.h"

namespace automation_test {
namespace {

using namespace runtime;

class Variants : public AutomationTest {
 protected:
  void SetUp() override {
    AutomationTest::SetUp();
    block_ = NewVariantBlock();
  }
  void TearDown() override {
    FreeVariantBlock(block_);
    AutomationTest::TearDown();
  }
  VARIANT& v() { return *static_cast<VARIANT*>(block_); }
  CommandArg Arg() { return VariantArg(block_); }

  std::string Text(std::vector<CommandArg> extra = {}) {
    std::vector<CommandArg> args = {Arg()};
    args.insert(args.end(), extra.begin(), extra.end());
    return TakeText(Invoke(Variant::GetText, args));
  }
  std::string Bytes(std::vector<CommandArg> extra = {}) {
    std::vector<CommandArg> args = {Arg()};
    args.insert(args.end(), extra.begin(), extra.end());
    void* bytes = ArgPointer(Invoke(Variant::GetByteSet, args));
    std::string value = bytes ? std::string(reinterpret_cast<const char*>(ByteSetBytes(bytes)), ByteSetLength(bytes))
                              : "<null>";
    FreeBlock(bytes);
    return value;
  }
  bool Assign(CommandArg value, CommandArg index = OmittedArg) {
    return ArgBool(Invoke(Variant::Assign, {Arg(), value, index}));
  }

  void* block_ = nullptr;
};

TEST_F(Variants, SetTypeGivesEachTypesEmptyValue) {
  struct Case {
    std::int32_t number;
    bool ok;
    VARTYPE vt;
  } cases[] = {{0, true, VT_EMPTY},    {1, true, VT_I4},      {2, true, VT_BSTR},   {3, true, VT_BOOL},
               {4, true, VT_DATE},     {5, true, VT_DISPATCH}, {6, true, VT_ERROR},  {14, false, VT_EMPTY},
               {-1, false, VT_EMPTY}};
  for (const Case& c : cases) {
    Assign(TextArg("held before"));  // freed by every call (the sanitizer build checks)
    EXPECT_EQ(ArgBool(Invoke(Variant::SetType, {Arg(), IntArg(c.number)})), c.ok) << c.number;
    EXPECT_EQ(v().vt, c.vt) << c.number;
  }
  EXPECT_EQ(Text(), "<null>");  // the empty value of VT_ERROR reads as no text
  // An array type has no empty value (empty does not convert to an array): the numbers of
  // the array types leave the variant cleared, never an array type without its array.
  for (std::int32_t number = 7; number <= 13; ++number) {
    Assign(IntArg(99));
    EXPECT_FALSE(ArgBool(Invoke(Variant::SetType, {Arg(), IntArg(number)}))) << number;
    EXPECT_EQ(v().vt, VT_EMPTY) << number;
  }
}

TEST_F(Variants, AnArrayTypeWithoutItsArrayIsHandledAsNoValue) {
  // What a member may leave in an output of array type that it did not fill.
  for (VARTYPE element : {VT_I4, VT_UI1, VT_VARIANT}) {
    SCOPED_TRACE(element);
    v().vt = static_cast<VARTYPE>(VT_ARRAY | element);
    v().parray = nullptr;
    EXPECT_EQ(Text(), "<null>");
    EXPECT_EQ(Text({IntArg(1)}), "<null>");
    EXPECT_EQ(Bytes(), "<null>");
    EXPECT_EQ(Bytes({IntArg(1)}), "<null>");
    EXPECT_FALSE(Assign(IntArg(1), IntArg(1)));
    void* copy = NewVariantBlock();
    Invoke(Variant::Assign, {VariantArg(copy), Arg()});
    FreeVariantBlock(copy);
    Invoke(Variant::Clear, {Arg()});
    EXPECT_EQ(v().vt, VT_EMPTY);
  }
}

TEST_F(Variants, ClearEmptiesAndZeroes) {
  Assign(TextArg("x"));
  Invoke(Variant::Clear, {Arg()});
  const char zeros[VariantBlockSize] = {};
  EXPECT_EQ(std::memcmp(block_, zeros, VariantBlockSize), 0);
}

TEST_F(Variants, ScalarsAssignedReadBackAsText) {
  EXPECT_EQ(Text(), "<null>");  // an empty variant gives the empty text
  struct Case {
    CommandArg value;
    VARTYPE vt;
    const char* text;
  } cases[] = {{IntArg(-12), VT_I4, "-12"},          {TextArg("\xD6\xD0"), VT_BSTR, "\xD6\xD0"},
               {BoolArg(true), VT_BOOL, "-1"},       {DoubleArg(1.5), VT_R8, "1.5"},
               {LongArg(0x100000005LL), VT_I4, "5"},  // the low 32 bits
               {MakeArg(200, types::Byte), VT_UI1, "200"}};
  for (const Case& c : cases) {
    EXPECT_TRUE(Assign(c.value));
    EXPECT_EQ(v().vt, c.vt);
    EXPECT_EQ(Text(), c.text);
  }
}

TEST_F(Variants, AByteSetBecomesAnArrayOfBytesFromOne) {
  void* bytes = NewByteSet("\xE4\xB8\xAD\x00\x01", 5);
  EXPECT_TRUE(Assign(ByteSetArg(bytes)));
  FreeBlock(bytes);
  ASSERT_EQ(v().vt, VT_ARRAY | VT_UI1);
  LONG lower = 0, upper = 0;
  SafeArrayGetLBound(v().parray, 1, &lower);
  SafeArrayGetUBound(v().parray, 1, &upper);
  EXPECT_EQ(lower, 1);
  EXPECT_EQ(upper, 5);
  EXPECT_EQ(Bytes(), std::string("\xE4\xB8\xAD\x00\x01", 5));
  EXPECT_EQ(Text({IntArg(3)}), "173");  // element 3 as text

  EXPECT_TRUE(Assign(ByteSetArg(nullptr)));  // the empty byte set: an array of no elements
  EXPECT_EQ(v().vt, VT_ARRAY | VT_UI1);
  EXPECT_EQ(oleaut::SafeArrayElementCount(v().parray), 0u);
  EXPECT_EQ(Bytes(), "<null>");
}

TEST_F(Variants, OnlyByteArraysGiveByteSetsWithoutAnIndex) {
  EXPECT_TRUE(ArgBool(Invoke(Variant::CreateArray, {Arg(), IntArg(3), IntArg(2)})));  // VT_I4
  EXPECT_EQ(Bytes(), "<null>");
  EXPECT_TRUE(Assign(TextArg("ab")));  // a text converts to its raw UTF-16 bytes
  EXPECT_EQ(Bytes(), std::string("a\0b\0", 4));
}

TEST_F(Variants, CreateArrayMakesOneDimensionFromOne) {
  EXPECT_TRUE(ArgBool(Invoke(Variant::CreateArray, {Arg(), IntArg(1), IntArg(10)})));
  EXPECT_EQ(v().vt, VT_ARRAY | VT_UI1);
  LONG lower = 0, upper = 0;
  SafeArrayGetLBound(v().parray, 1, &lower);
  SafeArrayGetUBound(v().parray, 1, &upper);
  EXPECT_EQ(lower, 1);
  EXPECT_EQ(upper, 10);
  for (std::int32_t bad : {0, 11, -3}) {
    EXPECT_FALSE(ArgBool(Invoke(Variant::CreateArray, {Arg(), IntArg(bad), IntArg(1)}))) << bad;
  }
  EXPECT_EQ(v().vt, VT_ARRAY | VT_UI1);  // a refused call leaves the variant alone
}

TEST_F(Variants, IndexedElementsOfAVariantArray) {
  EXPECT_TRUE(ArgBool(Invoke(Variant::CreateArray, {Arg(), IntArg(10), IntArg(3)})));
  EXPECT_TRUE(Assign(TextArg("first"), IntArg(1)));
  EXPECT_TRUE(Assign(IntArg(7), IntArg(3)));
  void* bytes = NewByteSet("xy", 2);
  EXPECT_TRUE(Assign(ByteSetArg(bytes), IntArg(2)));  // an array into a VARIANT element
  FreeBlock(bytes);
  EXPECT_FALSE(Assign(IntArg(1), IntArg(4)));         // past the end
  EXPECT_FALSE(Assign(IntArg(1), IntArg(0)));
  EXPECT_EQ(Text({IntArg(1)}), "first");
  EXPECT_EQ(Text({IntArg(3)}), "7");
  EXPECT_EQ(Bytes({IntArg(2)}), "xy");
  EXPECT_EQ(Text({IntArg(9)}), "<null>");
}

TEST_F(Variants, TypedArraysCoerceTheirElementsAndRefuseArrays) {
  EXPECT_TRUE(ArgBool(Invoke(Variant::CreateArray, {Arg(), IntArg(3), IntArg(2)})));  // VT_I4
  EXPECT_TRUE(Assign(TextArg("42"), IntArg(1)));
  EXPECT_FALSE(Assign(TextArg("not a number"), IntArg(2)));
  void* bytes = NewByteSet("z", 1);
  EXPECT_FALSE(Assign(ByteSetArg(bytes), IntArg(2)));
  FreeBlock(bytes);
  EXPECT_EQ(Text({IntArg(1)}), "42");
  Invoke(Variant::Clear, {Arg()});
  EXPECT_FALSE(Assign(IntArg(1), IntArg(1)));  // not an array at all
}

TEST_F(Variants, FlatIndexesRunOverTheFirstDimensionFastest) {
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {3, 5}};  // first dimension 0..1, second 5..7
  SAFEARRAY* array = SafeArrayCreate(VT_I4, 2, bounds);
  for (LONG i = 0; i < 2; ++i) {
    for (LONG j = 5; j < 8; ++j) {
      LONG indexes[2] = {i, j};
      LONG value = i * 10 + j;
      SafeArrayPutElement(array, indexes, &value);
    }
  }
  oleaut::SetArray(v(), VT_I4, array);
  const char* expected[] = {"5", "15", "6", "16", "7", "17"};
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(Text({IntArg(k)}), expected[k - 1]) << k;
  EXPECT_EQ(Text({IntArg(7)}), "<null>");
}

TEST_F(Variants, ArraysOfTextsAndNumbersBecomeSafeArrays) {
  void* texts = NewArray1(2, sizeof(char*));
  SetArrayElementAt<char*>(texts, 0, NewText("a"));
  SetArrayElementAt<char*>(texts, 1, nullptr);  // an empty text
  EXPECT_TRUE(Assign(PointerArg(texts, ArrayOf(types::Text))));
  EXPECT_EQ(v().vt, VT_ARRAY | VT_BSTR);
  EXPECT_EQ(Text({IntArg(1)}), "a");
  EXPECT_EQ(Text({IntArg(2)}), "<null>");
  FreeBlock(ArrayElementAt<char*>(texts, 0));
  FreeBlock(texts);

  void* numbers = NewArray1(2, 8);
  SetArrayElementAt<std::int64_t>(numbers, 0, 0x700000003LL);
  SetArrayElementAt<std::int64_t>(numbers, 1, -2);
  EXPECT_TRUE(Assign(PointerArg(numbers, ArrayOf(types::Long))));
  EXPECT_EQ(v().vt, VT_ARRAY | VT_I4);
  EXPECT_EQ(Text({IntArg(1)}), "3");
  EXPECT_EQ(Text({IntArg(2)}), "-2");
  FreeBlock(numbers);
}

}  // namespace
}  // namespace automation_test
