// A MemoryFile: a growable byte buffer with a current position. Reading copies from the
// position and advances it; writing overwrites from the position, extends the buffer when
// needed and advances the position; the length is the highest byte ever written. Lengths
// stay within 32 bits, as the file commands report them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace runtime::core {

class MemoryFile {
 public:
  static constexpr std::size_t kGrowthStep = 1024;

  MemoryFile() = default;
  ~MemoryFile();
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  std::int64_t Length() const { return length_; }
  std::int64_t Position() const { return position_; }
  std::size_t Capacity() const { return capacity_; }

  // Each answers false when the operation fails; a failed operation changes nothing.
  bool Seek(std::int64_t position);
  // Copies up to `n` bytes from the position; `*got` is how many (0 at the end).
  bool Read(void* out, std::size_t n, std::size_t* got);
  bool Write(const void* bytes, std::size_t n);

  // For tests of the commands' failure rules: after `successes` more successful calls,
  // every further call of that operation fails, until ClearFailures.
  enum class Operation { Seek, Read, Write };
  void FailAfter(Operation operation, int successes);
  void ClearFailures();

 private:
  bool Fails(Operation operation);
  bool Grow(std::size_t needed);

  unsigned char* bytes_ = nullptr;
  std::size_t capacity_ = 0;
  std::int64_t length_ = 0;
  std::int64_t position_ = 0;
  int successesLeft_[3] = {-1, -1, -1};  // per operation; -1: never fails
};

}  // namespace runtime::core
