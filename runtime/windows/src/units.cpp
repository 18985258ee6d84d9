#include "units.h"

namespace runtime {

std::unique_ptr<Unit> MakeWindowUnit(WindowEntry& window, UnitSlot& slot);
std::unique_ptr<Unit> MakeEditBox(WindowEntry& window, UnitSlot& slot);
std::unique_ptr<Unit> MakeLabel(WindowEntry& window, UnitSlot& slot);
std::unique_ptr<Unit> MakeButton(WindowEntry& window, UnitSlot& slot);
std::unique_ptr<Unit> MakeRadioBox(WindowEntry& window, UnitSlot& slot);

std::unique_ptr<Unit> MakeUnit(WindowEntry& window, UnitSlot& slot) {
  if (!slot.type) return nullptr;
  switch (slot.type->typeWord) {
    case unit_type::Window: return MakeWindowUnit(window, slot);
    case unit_type::EditBox: return MakeEditBox(window, slot);
    case unit_type::Label: return MakeLabel(window, slot);
    case unit_type::Button: return MakeButton(window, slot);
    case unit_type::RadioBox: return MakeRadioBox(window, slot);
    default: return nullptr;
  }
}

}  // namespace runtime
