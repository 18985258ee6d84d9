// The process heap over malloc. Each block carries a small header with its requested size,
// so that HeapSize answers exactly and HeapReAlloc can zero precisely the bytes it adds.
#include <cstdlib>
#include <cstring>

#include "kernel/process.h"

namespace {

// A 32-bit process's heap cannot hand out more than this; larger requests are refused before
// malloc sees them (a sanitizer's allocator would otherwise abort on absurd sizes).
constexpr SIZE_T kLargestBlock = 0x7FFFFFFF;

struct alignas(std::max_align_t) BlockHeader {
  SIZE_T size;
};

int processHeapTag;  // its address is the process heap's handle

bool IsProcessHeap(HANDLE heap) { return heap == &processHeapTag; }

BlockHeader* HeaderOf(LPVOID block) { return static_cast<BlockHeader*>(block) - 1; }

}  // namespace

HANDLE GetProcessHeap() { return &processHeapTag; }

LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  if (!IsProcessHeap(heap) || bytes > kLargestBlock) return nullptr;
  void* raw = (flags & HEAP_ZERO_MEMORY) ? std::calloc(1, sizeof(BlockHeader) + bytes)
                                         : std::malloc(sizeof(BlockHeader) + bytes);
  if (!raw) return nullptr;
  auto* header = static_cast<BlockHeader*>(raw);
  header->size = bytes;
  return header + 1;
}

LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes) {
  if (!IsProcessHeap(heap) || !block || bytes > kLargestBlock) return nullptr;
  BlockHeader* header = HeaderOf(block);
  SIZE_T oldSize = header->size;
  if (flags & HEAP_REALLOC_IN_PLACE_ONLY) {
    if (bytes > oldSize) return nullptr;
    header->size = bytes;
    return block;
  }
  auto* moved = static_cast<BlockHeader*>(std::realloc(header, sizeof(BlockHeader) + bytes));
  if (!moved) return nullptr;  // the old block stays valid, as realloc leaves it
  moved->size = bytes;
  if ((flags & HEAP_ZERO_MEMORY) && bytes > oldSize) {
    std::memset(reinterpret_cast<char*>(moved + 1) + oldSize, 0, bytes - oldSize);
  }
  return moved + 1;
}

BOOL HeapFree(HANDLE heap, DWORD, LPVOID block) {
  if (!IsProcessHeap(heap)) return FALSE;
  if (block) std::free(HeaderOf(block));
  return TRUE;
}

SIZE_T HeapSize(HANDLE heap, DWORD, LPCVOID block) {
  if (!IsProcessHeap(heap) || !block) return static_cast<SIZE_T>(-1);
  return HeaderOf(const_cast<LPVOID>(block))->size;
}
