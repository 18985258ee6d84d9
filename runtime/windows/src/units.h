// The five unit types, made by type word.
#pragma once

#include <memory>

#include "unit.h"

namespace runtime {

// Null for a type word this runtime has no unit for.
std::unique_ptr<Unit> MakeUnit(WindowEntry& window, UnitSlot& slot);

}  // namespace runtime
