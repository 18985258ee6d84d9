// The window-template data block: the window table and one WindowTemplate per window,
// each a list of unit records. This is the block a program carries and the template
// compiler writes; the reader never reads outside the bytes it is given.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace runtime {

// As stored: a handler is a byte offset into the program's procedure table, -1 for none.
inline constexpr std::int32_t kNoHandler = -1;

struct EventBinding {
  std::int32_t eventNumber;
  std::int32_t handler;
  bool operator==(const EventBinding&) const = default;
};

// Units whose id has this top byte use the short record (a single handler word).
inline constexpr std::uint32_t kShortUnitTopByte = 0x26;
constexpr bool IsShortUnitId(std::uint32_t id) { return (id >> 24) == kShortUnitTopByte; }

// One unit of a window: the window's own unit first, then its controls. Texts are GBK.
struct UnitRecord {
  std::uint32_t id = 0;
  std::uint32_t typeWord = 0;
  std::array<std::uint8_t, 20> reserved{};
  std::string name;
  std::string secondText;
  // Both slots are 0 when stored; kept so that a block reads back unchanged.
  std::uint32_t liveSlot = 0;
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  std::uint32_t pointerSlot = 0;
  std::uint32_t parentId = 0;  // 0: placed directly on the window
  std::vector<std::uint32_t> children;
  std::string mousePointer;  // bytes
  std::string tag;
  std::array<std::uint32_t, 3> flags{};  // flags[1]: bit 0 visible, bit 1 disabled
  std::vector<EventBinding> events;
  std::array<std::uint8_t, 20> reserved2{};
  std::string typeData;  // the type's own property values (may be empty)

  // Short units only: 12 bytes and a text after the two names, then one handler word;
  // typeData holds the rest of the record.
  std::array<std::uint8_t, 12> shortFields{};
  std::string shortText;
  std::int32_t shortHandler = kNoHandler;

  bool IsShort() const { return IsShortUnitId(id); }
  bool Visible() const { return (flags[1] & 1u) != 0; }
  bool Disabled() const { return (flags[1] & 2u) != 0; }
  bool operator==(const UnitRecord&) const = default;
};

struct WindowTemplate {
  std::array<std::uint32_t, 2> header{};
  std::string firstText;
  std::string secondText;
  std::vector<UnitRecord> units;
  bool operator==(const WindowTemplate&) const = default;
};

struct TemplateBlock {
  struct Window {
    std::uint32_t id = 0;
    WindowTemplate form;
    bool operator==(const Window&) const = default;
  };
  std::vector<Window> windows;
  bool operator==(const TemplateBlock&) const = default;
};

struct TemplateReadResult {
  bool ok = false;
  TemplateBlock block;
  std::string error;        // what could not be read (English, for tools and tests)
  std::size_t errorOffset = 0;  // where, in bytes from the start of the block
};

// Reads a whole block. Anything that does not add up (a length or offset pointing
// outside, a count larger than the bytes left, records that overlap or leave gaps, bytes
// left over at the end, ids given twice) makes the result not ok.
TemplateReadResult ReadTemplateBlock(std::span<const std::uint8_t> bytes);

// Writes a block that ReadTemplateBlock reads back equal.
std::vector<std::uint8_t> WriteTemplateBlock(const TemplateBlock& block);

}  // namespace runtime
