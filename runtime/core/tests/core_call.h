// Calling core commands as the program does: by table index, through the entry table's
// CallCoreCommand, and taking over the blocks they return. Taking a result also checks the
// result rules that hold for every command: an empty text or byte set comes back as null.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/core/core_library.h"
#include "runtime/entry_table.h"
#include "runtime/frame.h"
#include "runtime/values.h"

namespace core_test {

using runtime::CommandArg;
using runtime::CommandResult;

inline CommandResult Call(std::int32_t index, std::vector<CommandArg> args = {}) {
  return runtime::EntryTable().CallCoreCommand(runtime::core::CoreCommand(index),
                                               static_cast<std::int32_t>(args.size()), args.data());
}

// A text argument from bytes that may hold anything but a NUL.
inline CommandArg Text(const char* bytes) { return runtime::TextArg(bytes); }

// A byte set that the test owns, as a caller's variable would.
class ByteSet {
 public:
  explicit ByteSet(std::string_view bytes) : block_(runtime::NewByteSet(bytes.data(), bytes.size())) {}
  ~ByteSet() { runtime::FreeBlock(block_); }
  ByteSet(const ByteSet&) = delete;
  ByteSet& operator=(const ByteSet&) = delete;
  CommandArg Arg() const { return runtime::ByteSetArg(block_); }

 private:
  void* block_;
};

// The text a command returned, freed; an allocated empty text is a failure.
inline std::string TakeText(const CommandResult& result) {
  char* text = static_cast<char*>(runtime::ArgPointer(result));
  if (!text) return {};
  std::string bytes(text);
  EXPECT_FALSE(bytes.empty()) << "an empty text must be returned as null";
  runtime::FreeBlock(text);
  return bytes;
}

inline std::string TakeByteSet(const CommandResult& result) {
  void* block = runtime::ArgPointer(result);
  if (!block) return {};
  EXPECT_EQ(runtime::ArrayDimensions(block), 1) << "a byte set starts with 1";
  const std::int32_t length = runtime::ByteSetLength(block);
  EXPECT_GT(length, 0) << "an empty byte set must be returned as null";
  std::string bytes(reinterpret_cast<const char*>(runtime::ByteSetBytes(block)), static_cast<std::size_t>(length));
  runtime::FreeBlock(block);
  return bytes;
}

// The texts of a returned one-dimensional array, all freed.
inline std::vector<std::string> TakeTextArray(const CommandResult& result) {
  void* array = runtime::ArgPointer(result);
  EXPECT_NE(array, nullptr) << "an array result is never null";
  if (!array) return {};
  EXPECT_EQ(runtime::ArrayDimensions(array), 1);
  std::vector<std::string> texts;
  for (std::int64_t i = 0; i < runtime::ArrayCount(array); ++i) {
    char* element = runtime::ArrayElementAt<char*>(array, i);
    texts.push_back(element ? std::string(element) : std::string());
    if (element) {
      EXPECT_FALSE(texts.back().empty()) << "an empty element must be null";
    }
    runtime::FreeBlock(element);
  }
  runtime::FreeBlock(array);
  return texts;
}

inline std::string CallText(std::int32_t index, std::vector<CommandArg> args) {
  return TakeText(Call(index, std::move(args)));
}

inline std::int32_t CallInt(std::int32_t index, std::vector<CommandArg> args) {
  return static_cast<std::int32_t>(Call(index, std::move(args)).dataLow);
}

inline bool CallBool(std::int32_t index, std::vector<CommandArg> args) {
  return Call(index, std::move(args)).dataLow != 0;
}

}  // namespace core_test
