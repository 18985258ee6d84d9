// Texts in global memory blocks, as clipboard data travel.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "win/types.h"

namespace ui::detail {

// The block's bytes up to the first NUL, never past the block's end (a block without a
// NUL gives all of it); nothing when the block cannot be locked.
std::optional<std::string> ReadAnsiBlock(HGLOBAL block);
std::optional<std::u16string> ReadUnicodeBlock(HGLOBAL block);

// A new movable block holding the text and its NUL; null when memory runs out.
HGLOBAL NewAnsiBlock(std::string_view text);
HGLOBAL NewUnicodeBlock(std::u16string_view text);

}  // namespace ui::detail
