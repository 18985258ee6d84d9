// Filling a command's result with a new block that the caller owns. An empty text or byte
// set is returned as null.
#pragma once

#include <cstddef>
#include <string_view>

#include "runtime/values.h"

namespace runtime::core {

// Takes ownership of `text` (may be null) for the caller.
void ReturnText(CommandResult* result, Text text);
void ReturnTextCopy(CommandResult* result, std::string_view bytes);
void ReturnByteSet(CommandResult* result, void* byteSet);
void ReturnByteSetCopy(CommandResult* result, std::string_view bytes);

// A text assembled piece by piece directly in a runtime block. Whatever was not handed
// out by Finish goes back to the heap.
class TextBuilder {
 public:
  explicit TextBuilder(std::size_t expectedLength = 0);
  ~TextBuilder();
  TextBuilder(const TextBuilder&) = delete;
  TextBuilder& operator=(const TextBuilder&) = delete;

  void Append(std::string_view bytes);
  void Append(char c);
  void Fill(char c, std::size_t count);
  void Truncate(std::size_t length);
  std::size_t size() const { return size_; }
  std::string_view View() const { return {block_, size_}; }
  char* Data() { return block_; }

  // The text, for the caller to own; null when it is empty.
  Text Finish();

 private:
  void Reserve(std::size_t length);

  char* block_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace runtime::core
