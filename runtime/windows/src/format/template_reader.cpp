// Reading a window-template data block, field by field, inside its bounds.
#include <algorithm>
#include <cstdio>
#include <set>

#include "byte_reader.h"
#include "runtime/windows/template_format.h"

namespace runtime {
namespace {

using format::ByteReader;
using format::FormatError;

std::string Hex(std::uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", v);
  return text;
}

// A count of items of itemSize bytes each that must still fit in what is left.
std::uint32_t Count(ByteReader& in, std::size_t itemSize, const char* what) {
  std::size_t at = in.Offset();
  std::uint32_t count = in.Word(what);
  if (count > in.Remaining() / itemSize) {
    throw FormatError(std::string(what) + " " + std::to_string(count) + " is more than the bytes left", at);
  }
  return count;
}

void ReadStandardFields(ByteReader& in, UnitRecord& unit) {
  unit.name = in.Terminated("unit name");
  unit.secondText = in.Terminated("second text");
  unit.liveSlot = in.Word("live-window slot");
  unit.left = in.SignedWord("left");
  unit.top = in.SignedWord("top");
  unit.width = in.SignedWord("width");
  unit.height = in.SignedWord("height");
  unit.pointerSlot = in.Word("pointer slot");
  unit.parentId = in.Word("parent id");
  std::uint32_t children = Count(in, 4, "child count");
  for (std::uint32_t i = 0; i < children; ++i) unit.children.push_back(in.Word("child id"));
  unit.mousePointer = in.Counted("mouse-pointer data");
  unit.tag = in.Terminated("tag");
  for (std::uint32_t& flag : unit.flags) flag = in.Word("flag word");
  std::uint32_t events = Count(in, 8, "event count");
  for (std::uint32_t i = 0; i < events; ++i) {
    std::int32_t number = in.SignedWord("event number");
    unit.events.push_back({number, in.SignedWord("event handler")});
  }
  in.Fixed(unit.reserved2.data(), unit.reserved2.size(), "reserved block");
}

void ReadShortFields(ByteReader& in, UnitRecord& unit) {
  unit.name = in.Terminated("unit name");
  unit.secondText = in.Terminated("second text");
  in.Fixed(unit.shortFields.data(), unit.shortFields.size(), "short-unit fields");
  unit.shortText = in.Terminated("short-unit text");
  unit.shortHandler = in.SignedWord("short-unit handler");
}

UnitRecord ReadUnit(ByteReader& record, std::uint32_t id) {
  UnitRecord unit;
  unit.id = id;
  unit.typeWord = record.Word("type word");
  record.Fixed(unit.reserved.data(), unit.reserved.size(), "reserved block");
  if (unit.IsShort()) {
    ReadShortFields(record, unit);
  } else {
    ReadStandardFields(record, unit);
  }
  std::size_t rest = record.Remaining();
  const std::uint8_t* data = record.Bytes(rest, "type data");
  if (rest) unit.typeData.assign(reinterpret_cast<const char*>(data), rest);
  return unit;
}

// The records must lie back to back and fill the record area exactly.
void CheckRecordsTile(std::vector<std::pair<std::size_t, std::size_t>> spans, std::size_t areaLength,
                      std::size_t areaOffset) {
  std::sort(spans.begin(), spans.end());
  std::size_t expected = 0;
  for (const auto& [start, length] : spans) {
    if (start != expected) {
      throw FormatError(start < expected ? "unit records overlap" : "gap between unit records",
                        areaOffset + std::min(start, expected));
    }
    expected = start + length;
  }
  if (expected != areaLength) throw FormatError("bytes after the last unit record", areaOffset + expected);
}

WindowTemplate ReadWindow(ByteReader& in, std::uint32_t windowId) {
  WindowTemplate form;
  form.header[0] = in.Word("header word");
  form.header[1] = in.Word("header word");
  form.firstText = in.Counted("window text");
  form.secondText = in.Counted("window text");
  std::uint32_t count = in.Word("unit count");
  std::size_t areaAt = in.Offset();
  std::uint32_t areaLength = in.Word("unit-area length");
  if (areaLength > in.Remaining()) throw FormatError("unit-area length runs past the end", areaAt);
  if (count > areaLength / 8) throw FormatError("unit count does not fit the unit area", areaAt);
  ByteReader area = in.Sub(areaLength, "unit area");

  std::vector<std::uint32_t> ids(count);
  std::set<std::uint32_t> seen;
  for (std::uint32_t& id : ids) {
    std::size_t at = area.Offset();
    id = area.Word("unit id");
    if (!seen.insert(id).second) throw FormatError("unit id " + Hex(id) + " given twice", at);
  }
  std::vector<std::uint32_t> offsets(count);
  for (std::uint32_t& offset : offsets) offset = area.Word("record offset");

  const std::size_t recordsAt = area.Offset();
  const std::size_t recordsLength = area.Remaining();
  const std::uint8_t* records = area.Bytes(recordsLength, "unit records");
  std::vector<std::pair<std::size_t, std::size_t>> spans;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::string unitName = "unit " + Hex(ids[i]) + " of window " + Hex(windowId);
    if (offsets[i] > recordsLength) throw FormatError(unitName + ": record offset points outside", recordsAt);
    ByteReader record(records + offsets[i], recordsLength - offsets[i], recordsAt + offsets[i]);
    std::uint32_t size = record.Word("record size");
    if (size > record.Remaining()) throw FormatError(unitName + ": record size runs past the unit area", recordsAt + offsets[i]);
    spans.emplace_back(offsets[i], std::size_t{4} + size);
    ByteReader body = record.Sub(size, "record");
    try {
      form.units.push_back(ReadUnit(body, ids[i]));
    } catch (const FormatError& e) {
      throw FormatError(unitName + ": " + e.what(), e.offset);
    }
  }
  CheckRecordsTile(std::move(spans), recordsLength, recordsAt);
  return form;
}

}  // namespace

TemplateReadResult ReadTemplateBlock(std::span<const std::uint8_t> bytes) {
  TemplateReadResult result;
  try {
    ByteReader in(bytes.data(), bytes.size());
    std::size_t tableAt = in.Offset();
    std::uint32_t tableLength = in.Word("window-table length");
    if (tableLength % 8 != 0) throw FormatError("window-table length is not a multiple of 8", tableAt);
    if (tableLength > in.Remaining()) throw FormatError("window table runs past the end", tableAt);
    std::size_t windowCount = tableLength / 8;
    std::set<std::uint32_t> seen;
    for (std::size_t i = 0; i < windowCount; ++i) {
      std::size_t at = in.Offset();
      std::uint32_t id = in.Word("window id");
      if (!seen.insert(id).second) throw FormatError("window id " + Hex(id) + " given twice", at);
      result.block.windows.push_back({id, {}});
    }
    in.Bytes(4 * windowCount, "window placeholders");  // hold the loaded templates at run time
    for (TemplateBlock::Window& window : result.block.windows) window.form = ReadWindow(in, window.id);
    if (!in.AtEnd()) in.Fail(std::to_string(in.Remaining()) + " bytes left over after the last window");
    result.ok = true;
  } catch (const FormatError& e) {
    result.block = {};
    result.error = e.what();
    result.errorOffset = e.offset;
  }
  return result;
}

}  // namespace runtime
