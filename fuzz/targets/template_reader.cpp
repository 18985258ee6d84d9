// The window-template reader over any block: it reads the block or says why not, never
// reads outside it, and a block it reads writes back to the same block and the same values.
#include <cstdint>
#include <span>

#include "fuzz_input.h"
#include "runtime/windows/template_format.h"
#include "runtime/windows/type_data.h"
#include "runtime/windows/unit_types.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const runtime::TemplateReadResult read = runtime::ReadTemplateBlock(std::span(data, size));
  if (!read.ok) {
    FUZZ_CHECK(!read.error.empty());
    FUZZ_CHECK(read.errorOffset <= size);
    return 0;
  }
  // Start-up decodes every unit's own data after the block; that too must hold or fail.
  for (const auto& window : read.block.windows) {
    for (const runtime::UnitRecord& unit : window.form.units) {
      const runtime::UnitTypeInfo* type = unit.IsShort() ? nullptr : runtime::FindUnitType(unit.typeWord);
      if (!type) continue;
      const runtime::TypeDataResult decoded = runtime::DecodeTypeData(*type, unit.typeData);
      if (!decoded.ok) {
        FUZZ_CHECK(!decoded.error.empty());
        continue;
      }
      const runtime::TypeDataResult again =
          runtime::DecodeTypeData(*type, runtime::EncodeTypeData(*type, decoded.data));
      FUZZ_CHECK(again.ok && again.data == decoded.data);
    }
  }
  const std::vector<std::uint8_t> written = runtime::WriteTemplateBlock(read.block);
  const runtime::TemplateReadResult reread = runtime::ReadTemplateBlock(written);
  FUZZ_CHECK(reread.ok && reread.block == read.block);
  return 0;
}
