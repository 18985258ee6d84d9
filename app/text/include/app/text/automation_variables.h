// ComObject and Variant variables as the program holds them: a zeroed record on the runtime
// heap, handed to the automation commands by pointer, cleared and freed when it goes out of
// scope (the object released, whatever the variant owns cleared).
#pragma once

namespace app {

void* NewComObjectVariable();
void* NewVariantVariable();
void ReleaseComObjectVariable(void* object);
void ReleaseVariantVariable(void* variant);

}  // namespace app
