// ComObject and Variant variables as the program holds them: a zeroed record on the runtime
// heap, handed to the automation commands by pointer, cleared and freed when it goes out of
// scope (the object released, whatever the variant owns cleared).
#pragma once

#include "runtime/values.h"

namespace app {

void* NewComObjectVariable();
void* NewVariantVariable();
void ReleaseComObjectVariable(void* object);
void ReleaseVariantVariable(void* variant);

// The argument records of such variables for the automation commands.
inline runtime::CommandArg ObjectArg(void* object) { return runtime::PointerArg(object, runtime::types::ComObject); }
inline runtime::CommandArg VariantArg(void* variant) { return runtime::PointerArg(variant, runtime::types::Variant); }

}  // namespace app
