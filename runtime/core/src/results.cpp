#include "results.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "runtime/frame.h"

namespace runtime::core {
namespace {

constexpr std::size_t kMaxBlock = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());

}  // namespace

void ReturnText(CommandResult* result, Text text) { SetPointerResult(result, text, types::Text); }

void ReturnTextCopy(CommandResult* result, std::string_view bytes) {
  ReturnText(result, NewText(bytes.data(), bytes.size()));
}

void ReturnByteSet(CommandResult* result, void* byteSet) { SetPointerResult(result, byteSet, types::ByteSet); }

void ReturnByteSetCopy(CommandResult* result, std::string_view bytes) {
  ReturnByteSet(result, NewByteSet(bytes.data(), bytes.size()));
}

TextBuilder::TextBuilder(std::size_t expectedLength) {
  if (expectedLength > 0) Reserve(expectedLength);
}

TextBuilder::~TextBuilder() { FreeBlock(block_); }

void TextBuilder::Reserve(std::size_t length) {
  if (length < capacity_) return;  // room for the NUL as well
  if (length >= kMaxBlock) {
    // Larger than any block the heap gives: the runtime's allocation failure, which ends
    // the program.
    AllocBlock(-1);
    std::abort();
  }
  std::size_t capacity = std::max<std::size_t>({length + 1, capacity_ * 2, 64});
  capacity = std::min(capacity, kMaxBlock);
  block_ = static_cast<char*>(ResizeBlock(block_, static_cast<std::int32_t>(capacity)));
  capacity_ = capacity;
}

void TextBuilder::Append(std::string_view bytes) {
  if (bytes.empty()) return;
  Reserve(size_ + bytes.size());
  std::memcpy(block_ + size_, bytes.data(), bytes.size());
  size_ += bytes.size();
}

void TextBuilder::Append(char c) {
  Reserve(size_ + 1);
  block_[size_++] = c;
}

void TextBuilder::Fill(char c, std::size_t count) {
  if (count == 0) return;
  Reserve(size_ + count);
  std::memset(block_ + size_, c, count);
  size_ += count;
}

void TextBuilder::Truncate(std::size_t length) { size_ = std::min(size_, length); }

Text TextBuilder::Finish() {
  if (size_ == 0) return nullptr;
  // Give back what doubling left over, beyond a little slack.
  if (capacity_ - size_ > 256) block_ = static_cast<char*>(ResizeBlock(block_, static_cast<std::int32_t>(size_ + 1)));
  block_[size_] = '\0';
  Text text = block_;
  block_ = nullptr;
  size_ = capacity_ = 0;
  return text;
}

}  // namespace runtime::core
