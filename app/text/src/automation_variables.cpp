#include "app/text/automation_variables.h"

#include <cstring>

#include "app/base/runtime_calls.h"
#include "runtime/automation.h"
#include "runtime/core/core_library.h"

namespace app {
namespace {

void* NewZeroedBlock(std::int32_t bytes) {
  void* block = Runtime().AllocBlock(bytes);
  std::memset(block, 0, static_cast<std::size_t>(bytes));
  return block;
}

}  // namespace

void* NewComObjectVariable() { return NewZeroedBlock(runtime::ComObjectRecordSize); }
void* NewVariantVariable() { return NewZeroedBlock(runtime::VariantBlockSize); }

void ReleaseComObjectVariable(void* object) {
  if (!object) return;
  CallCore(runtime::core::command::ComObjectClear, {runtime::PointerArg(object, runtime::types::ComObject)});
  FreeBlock(object);
}

void ReleaseVariantVariable(void* variant) {
  if (!variant) return;
  CallCore(runtime::core::command::VariantClear, {runtime::PointerArg(variant, runtime::types::Variant)});
  FreeBlock(variant);
}

}  // namespace app
