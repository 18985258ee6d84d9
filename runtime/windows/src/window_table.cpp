// Start-up's part of the window layer: reading the template block into the window table.
#include "runtime/windows/window_table.h"

#include "runtime/messages.h"
#include "runtime/frame.h"
#include "runtime/windows/window_layer.h"

namespace runtime {
namespace {

WindowEntries& Table() {
  static WindowEntries* table = new WindowEntries;  // lives until the process ends
  return *table;
}

[[noreturn]] void Damaged() { RaiseRuntimeError(messages::kTemplateDataDamaged); }

EventHandler Relocate(std::int32_t offset, std::span<const EventHandler> procedures) {
  if (offset == kNoHandler) return nullptr;
  constexpr auto kSize = static_cast<std::int32_t>(sizeof(EventHandler));
  if (offset < 0 || offset % kSize != 0) Damaged();
  const auto index = static_cast<std::size_t>(offset / kSize);
  if (index >= procedures.size()) Damaged();  // past the end of the table
  return procedures[index];
}

}  // namespace

EventHandler UnitSlot::HandlerFor(std::int32_t eventNumber) const {
  if (record.IsShort()) return shortHandler;
  for (const auto& [number, handler] : handlers) {
    if (number == eventNumber) return handler;
  }
  return nullptr;
}

UnitSlot* WindowEntry::FindUnit(std::uint32_t unitId) {
  if (unitId == 0) return units.empty() ? nullptr : &units.front();
  for (UnitSlot& slot : units) {
    if (slot.record.id == unitId) return &slot;
  }
  return nullptr;
}

WindowEntries DeserialiseTemplates(std::span<const std::uint8_t> block) {
  TemplateReadResult read = ReadTemplateBlock(block);
  if (!read.ok) Damaged();
  WindowEntries windows;
  for (TemplateBlock::Window& window : read.block.windows) {
    auto entry = std::make_unique<WindowEntry>();
    entry->id = window.id;
    for (UnitRecord& record : window.form.units) {
      UnitSlot slot;
      slot.type = record.IsShort() ? nullptr : FindUnitType(record.typeWord);
      if (slot.type) {
        TypeDataResult data = DecodeTypeData(*slot.type, record.typeData);
        if (!data.ok) Damaged();
        slot.values = std::move(data.data);
      }
      slot.record = std::move(record);
      entry->units.push_back(std::move(slot));
    }
    windows.push_back(std::move(entry));
  }
  return windows;
}

void RelocateHandlers(WindowEntries& windows, std::span<const EventHandler> procedures) {
  for (auto& window : windows) {
    for (UnitSlot& slot : window->units) {
      if (slot.record.IsShort()) {
        slot.shortHandler = Relocate(slot.record.shortHandler, procedures);
        continue;
      }
      slot.handlers.clear();
      for (const EventBinding& binding : slot.record.events) {
        slot.handlers.emplace_back(binding.eventNumber, Relocate(binding.handler, procedures));
      }
    }
  }
}

void InstallTemplates(WindowEntries windows) {
  DestroyAllWindows();
  Table() = std::move(windows);
}

WindowEntry* FindWindow(std::uint32_t windowId) {
  for (auto& window : Table()) {
    if (window->id == windowId) return window.get();
  }
  return nullptr;
}

const WindowEntries& WindowTable() { return Table(); }

}  // namespace runtime
