#include "result_array.h"

#include <cstdint>
#include <cstring>

#include "runtime_heap.h"

namespace regexlib {
namespace {

constexpr std::size_t HeaderSize = 8;  // dimension count 1, element count

void* NewArray(std::int32_t count) {
  void* array = heap::Allocate(HeaderSize + static_cast<std::size_t>(count) * sizeof(void*));
  if (!array) return nullptr;
  const std::int32_t header[2] = {1, count};
  std::memcpy(array, header, sizeof header);
  return array;
}

void SetCount(void* array, std::int32_t count) {
  std::memcpy(static_cast<char*>(array) + 4, &count, 4);
}

}  // namespace

void* MakeResultArray(FoundResults& found) {
  // The element count is an int32; the search never records more (see SearchAll).
  const auto count = static_cast<std::int32_t>(found.size());
  void* array = NewArray(count);
  if (!array) return NewArray(0);
  for (std::int32_t i = 0; i < count; ++i) {
    auto* block = static_cast<SearchResultVariable*>(heap::Allocate(sizeof(SearchResultVariable)));
    if (!block) {
      SetCount(array, i);
      break;
    }
    block->result = found[static_cast<std::size_t>(i)].release();
    runtime::SetArrayElementAt<void*>(array, i, block);
  }
  return array;
}

}  // namespace regexlib
