// The engine's memory: every block carries a small header with its size, so that the
// total in use is known and a cap can refuse what goes beyond it. The headers also link
// the blocks, so that a heap abandoned after a fatal engine error can still be freed.
#pragma once

#include <cstddef>
#include <limits>

namespace script::detail {

class CappedAllocator {
 public:
  static constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

  CappedAllocator() = default;
  CappedAllocator(const CappedAllocator&) = delete;
  CappedAllocator& operator=(const CappedAllocator&) = delete;
  ~CappedAllocator();  // frees whatever is still allocated

  void* Allocate(std::size_t size);
  // As realloc: a null block allocates, size 0 frees (and gives null). On refusal the
  // old block stays as it was.
  void* Reallocate(void* block, std::size_t size);
  void Free(void* block);

  void SetLimit(std::size_t limit) { limit_ = limit; }
  std::size_t Limit() const { return limit_; }
  std::size_t InUse() const { return inUse_; }
  // Whether a request was refused since the last ClearRefused().
  bool Refused() const { return refused_; }
  void ClearRefused() { refused_ = false; }
  void FreeAll();

 private:
  struct Header;
  bool Admits(std::size_t oldSize, std::size_t newSize);
  void Link(Header* header);
  void Unlink(Header* header);

  std::size_t limit_ = kNoLimit;
  std::size_t inUse_ = 0;
  bool refused_ = false;
  Header* first_ = nullptr;
};

}  // namespace script::detail
