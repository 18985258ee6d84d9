// Global memory blocks as the clipboard takes them. A fixed block's handle is its address; a
// moveable block's handle is a separate token that GlobalLock turns into the address. Every
// live handle is recorded, so that a stale or foreign handle is refused instead of followed.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "kernel/process.h"
#include "win/errors.h"

namespace {

constexpr SIZE_T kLargestBlock = 0x7FFFFFFF;

struct GlobalBlock {
  void* data = nullptr;  // null for a moveable block of size 0 (Windows: "discarded")
  SIZE_T size = 0;
  bool moveable = false;
  UINT lockCount = 0;
};

// The token behind a moveable block's handle; its address is the handle.
struct MoveableToken {
  char unused;
};

struct GlobalTable {
  std::mutex mutex;
  std::unordered_map<HGLOBAL, GlobalBlock> blocks;
  std::unordered_map<HGLOBAL, std::unique_ptr<MoveableToken>> tokens;
};

GlobalTable& Table() {
  static GlobalTable* table = new GlobalTable;  // outlives every static destructor
  return *table;
}

GlobalBlock* Find(GlobalTable& table, HGLOBAL handle) {
  auto it = table.blocks.find(handle);
  return it == table.blocks.end() ? nullptr : &it->second;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  if (bytes > kLargestBlock) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  GlobalBlock block;
  block.moveable = (flags & GMEM_MOVEABLE) != 0;
  block.size = bytes;
  if (bytes > 0 || !block.moveable) {
    // A fixed block of size 0 still needs an address of its own: it is its handle.
    block.data = (flags & GMEM_ZEROINIT) ? std::calloc(1, bytes ? bytes : 1) : std::malloc(bytes ? bytes : 1);
    if (!block.data) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
  }
  GlobalTable& table = Table();
  std::lock_guard lock(table.mutex);
  HGLOBAL handle = block.data;
  if (block.moveable) {
    auto token = std::make_unique<MoveableToken>();
    handle = token.get();
    table.tokens.emplace(handle, std::move(token));
  }
  table.blocks.emplace(handle, block);
  return handle;
}

LPVOID GlobalLock(HGLOBAL handle) {
  GlobalTable& table = Table();
  std::lock_guard lock(table.mutex);
  GlobalBlock* block = Find(table, handle);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (block->moveable && block->data) ++block->lockCount;
  return block->data;
}

// TRUE while the block stays locked; FALSE with ERROR_SUCCESS when this unlock released it,
// FALSE with ERROR_NOT_LOCKED when it was not locked at all.
BOOL GlobalUnlock(HGLOBAL handle) {
  GlobalTable& table = Table();
  std::lock_guard lock(table.mutex);
  GlobalBlock* block = Find(table, handle);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (block->lockCount == 0) {
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  if (--block->lockCount > 0) return TRUE;
  SetLastError(ERROR_SUCCESS);
  return FALSE;
}

SIZE_T GlobalSize(HGLOBAL handle) {
  GlobalTable& table = Table();
  std::lock_guard lock(table.mutex);
  GlobalBlock* block = Find(table, handle);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return block->size;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
  if (!handle) return nullptr;
  void* data = nullptr;
  {
    GlobalTable& table = Table();
    std::lock_guard lock(table.mutex);
    GlobalBlock* block = Find(table, handle);
    if (!block) {
      SetLastError(ERROR_INVALID_HANDLE);
      return handle;
    }
    data = block->data;
    table.blocks.erase(handle);
    table.tokens.erase(handle);
  }
  std::free(data);
  return nullptr;
}
