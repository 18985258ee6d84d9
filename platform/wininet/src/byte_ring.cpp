#include "byte_ring.h"

#include <algorithm>
#include <cstring>

namespace wininet {

void ByteRing::Reserve(std::size_t capacity) {
  if (capacity <= bytes_.size()) return;
  std::vector<char> grown(capacity);
  std::size_t count = Read(grown.data(), size_);
  bytes_.swap(grown);
  head_ = 0;
  size_ = count;
}

void ByteRing::Write(const char* data, std::size_t count) {
  std::size_t tail = (head_ + size_) % bytes_.size();
  std::size_t first = std::min(count, bytes_.size() - tail);
  std::memcpy(bytes_.data() + tail, data, first);
  std::memcpy(bytes_.data(), data + first, count - first);
  size_ += count;
}

std::size_t ByteRing::Read(char* out, std::size_t count) {
  count = std::min(count, size_);
  std::size_t first = std::min(count, bytes_.size() - head_);
  std::memcpy(out, bytes_.data() + head_, first);
  std::memcpy(out + first, bytes_.data(), count - first);
  head_ = (head_ + count) % bytes_.size();
  size_ -= count;
  return count;
}

}  // namespace wininet
