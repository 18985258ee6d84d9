// The window table: every window template of the program, with its units' relocated
// event handlers and, while the window exists, its live window.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "runtime/program_info.h"
#include "runtime/windows/template_format.h"
#include "runtime/windows/type_data.h"

namespace runtime {

class Unit;
struct LiveWindow;

struct UnitSlot {
  UnitRecord record;  // as read; common-property writes without a live window land here
  const UnitTypeInfo* type = nullptr;  // null: a type this runtime cannot create
  TypeData values;                     // the own properties the unit is created with
  std::vector<std::pair<std::int32_t, EventHandler>> handlers;  // relocated; null: none
  EventHandler shortHandler = nullptr;                           // short units
  Unit* live = nullptr;  // while the window exists

  EventHandler HandlerFor(std::int32_t eventNumber) const;
};

struct WindowEntry {
  std::uint32_t id = 0;
  std::vector<UnitSlot> units;  // the window's own unit first
  LiveWindow* live = nullptr;   // owned by the window layer
  // Closed by the user while a handler runs: hidden, and destroyed once the handler returns.
  bool closing = false;

  UnitSlot* FindUnit(std::uint32_t unitId);  // 0 names the window's own unit
};

using WindowEntries = std::vector<std::unique_ptr<WindowEntry>>;

// Start-up, step 10: the block read into window entries. Any failure is the runtime error
// "载入窗口模板数据段出错!".
WindowEntries DeserialiseTemplates(std::span<const std::uint8_t> block);
// Step 11: stored handler offsets into the program's procedure table (-1: none). An
// offset that does not name one of its procedures is a damaged template, as in step 10.
void RelocateHandlers(WindowEntries& windows, std::span<const EventHandler> procedures);
// Step 12: the entries become the window table (windows still live are destroyed first).
void InstallTemplates(WindowEntries windows);

WindowEntry* FindWindow(std::uint32_t windowId);
const WindowEntries& WindowTable();

}  // namespace runtime
