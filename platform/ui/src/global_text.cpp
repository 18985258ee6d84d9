#include "global_text.h"

#include <algorithm>
#include <cstring>

#include "kernel/process.h"

namespace ui::detail {
namespace {

template <typename Char>
std::optional<std::basic_string<Char>> ReadBlock(HGLOBAL block) {
  if (!block) return std::nullopt;
  const SIZE_T count = GlobalSize(block) / sizeof(Char);
  const auto* data = static_cast<const Char*>(GlobalLock(block));
  if (!data) return std::nullopt;
  const Char* end = std::find(data, data + count, Char{0});
  std::basic_string<Char> text(data, end);
  GlobalUnlock(block);
  return text;
}

template <typename Char>
HGLOBAL NewBlock(std::basic_string_view<Char> text) {
  const SIZE_T bytes = (text.size() + 1) * sizeof(Char);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  if (!block) return nullptr;
  void* data = GlobalLock(block);
  if (!data) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(data, text.data(), text.size() * sizeof(Char));  // the NUL is zero-filled
  GlobalUnlock(block);
  return block;
}

}  // namespace

std::optional<std::string> ReadAnsiBlock(HGLOBAL block) { return ReadBlock<char>(block); }
std::optional<std::u16string> ReadUnicodeBlock(HGLOBAL block) { return ReadBlock<char16_t>(block); }

HGLOBAL NewAnsiBlock(std::string_view text) { return NewBlock(text); }
HGLOBAL NewUnicodeBlock(std::u16string_view text) { return NewBlock(text); }

}  // namespace ui::detail
