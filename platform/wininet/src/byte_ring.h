// A fixed-capacity ring of bytes between libcurl's write callback and InternetReadFile.
#pragma once

#include <cstddef>
#include <vector>

namespace wininet {

class ByteRing {
 public:
  explicit ByteRing(std::size_t capacity) : bytes_(capacity) {}
  std::size_t Size() const { return size_; }
  std::size_t Free() const { return bytes_.size() - size_; }
  std::size_t Capacity() const { return bytes_.size(); }
  // Grows the ring (keeping its bytes) so that at least capacity bytes fit.
  void Reserve(std::size_t capacity);
  // The caller checks Free() first.
  void Write(const char* data, std::size_t count);
  std::size_t Read(char* out, std::size_t count);

 private:
  std::vector<char> bytes_;
  std::size_t head_ = 0;  // first byte to read
  std::size_t size_ = 0;
};

}  // namespace wininet
