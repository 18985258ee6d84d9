#include "runtime/windows/unit_widget_lookup.h"

#include "runtime/windows/window_table.h"
#include "unit.h"

namespace runtime {

QWidget* FindUnitWidget(std::uint32_t windowId, std::uint32_t unitId) {
  WindowEntry* window = FindWindow(windowId);
  UnitSlot* slot = window ? window->FindUnit(unitId) : nullptr;
  return slot && slot->live ? slot->live->Widget() : nullptr;
}

}  // namespace runtime
