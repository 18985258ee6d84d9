// Memory blocks on the runtime heap, and the ConstantRange that protects literal data.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

#include "allocation_refusal.h"
#include "context.h"
#include "kernel/process.h"
#include "runtime/messages.h"

namespace runtime {
namespace {

HANDLE Heap() {
  RuntimeContext& context = Context();
  if (!context.heap) context.heap = GetProcessHeap();
  return context.heap;
}

[[noreturn]] void AllocationFailed(std::int32_t bytes) {
  char message[128];
  std::snprintf(message, sizeof message, messages::kAllocationFailed, static_cast<int>(bytes));
  RaiseRuntimeError(message);
}

const ConstantRangeEntry* FindConstantRange(const void* p) {
  auto address = reinterpret_cast<std::uintptr_t>(p);
  for (const ConstantRangeEntry& range : Context().constantRanges) {
    if (address >= range.start && address < range.end) return &range;
  }
  return nullptr;
}

// RefuseAllocation: 0 while off, else the number of the request to refuse.
std::int64_t g_refuseAt = 0;
std::int64_t g_counted = 0;

bool Refused() { return g_refuseAt != 0 && ++g_counted == g_refuseAt; }

// Sizes of new value blocks, refused as the heap would refuse them when they overflow.
std::int32_t BlockSize(std::size_t payload, std::size_t extra) {
  constexpr auto kMax = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  if (payload > kMax - extra) AllocationFailed(-1);
  return static_cast<std::int32_t>(payload + extra);
}

}  // namespace

void RefuseAllocation(std::int64_t n) {
  g_refuseAt = n;
  g_counted = 0;
}

std::int64_t AllocationsCounted() { return g_counted; }

void* TryAllocBlock(std::int32_t bytes) {
  if (bytes < 0 || Refused()) return nullptr;
  return HeapAlloc(Heap(), 0, static_cast<SIZE_T>(bytes));
}

void* AllocBlock(std::int32_t bytes) {
  void* block = TryAllocBlock(bytes);
  if (!block) AllocationFailed(bytes);
  return block;
}

void* ResizeBlock(void* block, std::int32_t bytes) {
  if (!block) return AllocBlock(bytes);
  if (const ConstantRangeEntry* range = FindConstantRange(block)) {
    void* copy = AllocBlock(bytes);
    std::size_t available = range->end - reinterpret_cast<std::uintptr_t>(block);
    std::memcpy(copy, block, std::min(static_cast<std::size_t>(bytes), available));
    return copy;
  }
  void* resized = bytes < 0 || Refused() ? nullptr : HeapReAlloc(Heap(), 0, block, static_cast<SIZE_T>(bytes));
  if (!resized) AllocationFailed(bytes);
  return resized;
}

void FreeBlock(void* block) {
  if (!block || FindConstantRange(block)) return;
  HeapFree(Heap(), 0, block);
}

void RegisterConstantRange(const void* start, std::size_t size) {
  auto begin = reinterpret_cast<std::uintptr_t>(start);
  Context().constantRanges.push_back({begin, begin + size});
}

bool InConstantRange(const void* p) { return FindConstantRange(p) != nullptr; }

Text NewText(const char* bytes, std::size_t length) {
  if (length == 0) return nullptr;
  auto* text = static_cast<char*>(AllocBlock(BlockSize(length, 1)));
  std::memcpy(text, bytes, length);
  text[length] = '\0';
  return text;
}

void* NewByteSet(const void* bytes, std::size_t length) {
  if (length == 0) return nullptr;
  void* block = AllocBlock(BlockSize(length, ByteSetHeaderSize));
  const std::int32_t header[2] = {1, static_cast<std::int32_t>(length)};
  std::memcpy(block, header, sizeof header);
  std::memcpy(ByteSetBytes(block), bytes, length);
  return block;
}

void* NewArray1(std::int32_t count, std::int32_t elementSize) {
  if (count < 0 || elementSize < 0) AllocationFailed(-1);
  std::size_t payload = static_cast<std::size_t>(count) * static_cast<std::size_t>(elementSize);
  void* block = AllocBlock(BlockSize(payload, 8));
  const std::int32_t header[2] = {1, count};
  std::memcpy(block, header, sizeof header);
  std::memset(static_cast<char*>(block) + 8, 0, payload);
  return block;
}

}  // namespace runtime
