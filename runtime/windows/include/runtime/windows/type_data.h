// A unit's UnitTypeData as values: its layout version word, then its own properties in
// the field order of the type's layout (unit_types.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/windows/unit_types.h"

namespace runtime {

// One own property value: `number` for Number storage, `bytes` (GBK text or raw bytes) else.
struct OwnValue {
  std::int32_t number = 0;
  std::string bytes;
  bool operator==(const OwnValue&) const = default;
};

struct TypeData {
  std::vector<OwnValue> own;  // index = property number - 8
  std::string reserved;       // the layout's reserved fields, back to back
  bool operator==(const TypeData&) const = default;
};

TypeData DefaultTypeData(const UnitTypeInfo& type);

struct TypeDataResult {
  bool ok = false;
  TypeData data;
  std::string error;
};

// Empty data gives the defaults. Otherwise the version word must be the type's and the
// fields must fill the data exactly.
TypeDataResult DecodeTypeData(const UnitTypeInfo& type, std::string_view data);
std::string EncodeTypeData(const UnitTypeInfo& type, const TypeData& data);

// The value clamped as a write of that own property is.
std::int32_t ClampOwnNumber(const OwnPropertyInfo& property, std::int32_t value);

}  // namespace runtime
