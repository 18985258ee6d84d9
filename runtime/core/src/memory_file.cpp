#include "memory_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>

namespace runtime::core {
namespace {

constexpr std::int64_t kMaxLength = std::numeric_limits<std::int32_t>::max();

}  // namespace

MemoryFile::~MemoryFile() { std::free(bytes_); }

void MemoryFile::FailAfter(Operation operation, int successes) {
  successesLeft_[static_cast<int>(operation)] = std::max(successes, 0);
}

void MemoryFile::ClearFailures() { std::fill(std::begin(successesLeft_), std::end(successesLeft_), -1); }

bool MemoryFile::Fails(Operation operation) {
  int& left = successesLeft_[static_cast<int>(operation)];
  if (left < 0) return false;
  if (left == 0) return true;
  --left;
  return false;
}

bool MemoryFile::Seek(std::int64_t position) {
  if (Fails(Operation::Seek) || position < 0 || position > kMaxLength) return false;
  position_ = position;
  return true;
}

bool MemoryFile::Read(void* out, std::size_t n, std::size_t* got) {
  *got = 0;
  if (Fails(Operation::Read)) return false;
  if (position_ >= length_ || n == 0) return true;
  const std::size_t count = std::min(n, static_cast<std::size_t>(length_ - position_));
  std::memcpy(out, bytes_ + position_, count);
  position_ += static_cast<std::int64_t>(count);
  *got = count;
  return true;
}

// The buffer grows in whole steps of 1024 bytes, and at least doubles each time: a file
// written piece by piece is then moved a bounded number of times, not once per step (an
// allocator that cannot extend in place copies the whole buffer on every growth).
bool MemoryFile::Grow(std::size_t needed) {
  if (needed <= capacity_) return true;
  constexpr std::size_t kMaxCapacity = (static_cast<std::size_t>(kMaxLength) + kGrowthStep) / kGrowthStep * kGrowthStep;
  const std::size_t steps = (needed + kGrowthStep - 1) / kGrowthStep * kGrowthStep;
  const std::size_t doubled = std::min(2 * capacity_, kMaxCapacity);
  std::size_t capacity = std::max(steps, doubled);
  void* grown = std::realloc(bytes_, capacity);
  if (!grown && capacity > steps) grown = std::realloc(bytes_, capacity = steps);
  if (!grown) return false;
  bytes_ = static_cast<unsigned char*>(grown);
  capacity_ = capacity;
  return true;
}

bool MemoryFile::Write(const void* bytes, std::size_t n) {
  if (Fails(Operation::Write)) return false;
  if (n == 0) return true;
  if (static_cast<std::uint64_t>(n) > static_cast<std::uint64_t>(kMaxLength - position_)) return false;
  const auto end = static_cast<std::size_t>(position_) + n;
  if (!Grow(end)) return false;
  // A position beyond the end leaves a gap of zero bytes.
  if (position_ > length_) std::memset(bytes_ + length_, 0, static_cast<std::size_t>(position_ - length_));
  std::memcpy(bytes_ + position_, bytes, n);
  position_ = static_cast<std::int64_t>(end);
  length_ = std::max(length_, position_);
  return true;
}

}  // namespace runtime::core
