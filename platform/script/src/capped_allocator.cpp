#include "capped_allocator.h"

#include <cstdlib>

namespace script::detail {

// Sized to keep the caller's part at malloc's own alignment.
struct alignas(std::max_align_t) CappedAllocator::Header {
  Header* previous;
  Header* next;
  std::size_t size;
};

namespace {

template <typename H>
H* HeaderOf(void* block) {
  return reinterpret_cast<H*>(static_cast<char*>(block) - sizeof(H));
}

template <typename H>
void* BlockOf(H* header) {
  return reinterpret_cast<char*>(header) + sizeof(H);
}

}  // namespace

CappedAllocator::~CappedAllocator() { FreeAll(); }

bool CappedAllocator::Admits(std::size_t oldSize, std::size_t newSize) {
  if (newSize <= oldSize) return true;
  const std::size_t growth = newSize - oldSize;
  const std::size_t room = limit_ - inUse_;  // inUse_ never exceeds the limit once it is set
  if (inUse_ <= limit_ && growth <= room && newSize < kNoLimit - sizeof(Header)) return true;
  refused_ = true;
  return false;
}

void CappedAllocator::Link(Header* header) {
  header->previous = nullptr;
  header->next = first_;
  if (first_ != nullptr) first_->previous = header;
  first_ = header;
}

void CappedAllocator::Unlink(Header* header) {
  if (header->previous != nullptr) {
    header->previous->next = header->next;
  } else {
    first_ = header->next;
  }
  if (header->next != nullptr) header->next->previous = header->previous;
}

void* CappedAllocator::Allocate(std::size_t size) {
  if (!Admits(0, size)) return nullptr;
  auto* header = static_cast<Header*>(std::malloc(sizeof(Header) + size));
  if (header == nullptr) {
    refused_ = true;
    return nullptr;
  }
  header->size = size;
  Link(header);
  inUse_ += size;
  return BlockOf(header);
}

void* CappedAllocator::Reallocate(void* block, std::size_t size) {
  if (block == nullptr) return Allocate(size);
  if (size == 0) {
    Free(block);
    return nullptr;
  }
  Header* header = HeaderOf<Header>(block);
  const std::size_t oldSize = header->size;
  if (!Admits(oldSize, size)) return nullptr;
  Unlink(header);
  auto* moved = static_cast<Header*>(std::realloc(header, sizeof(Header) + size));
  if (moved == nullptr) {
    Link(header);
    refused_ = true;
    return nullptr;
  }
  moved->size = size;
  Link(moved);
  inUse_ = inUse_ - oldSize + size;
  return BlockOf(moved);
}

void CappedAllocator::Free(void* block) {
  if (block == nullptr) return;
  Header* header = HeaderOf<Header>(block);
  Unlink(header);
  inUse_ -= header->size;
  std::free(header);
}

void CappedAllocator::FreeAll() {
  while (first_ != nullptr) Free(BlockOf(first_));
}

}  // namespace script::detail
