#pragma once

namespace oleaut::detail {

// Whether the calling thread has initialised COM.
bool IsComInitialized();

}  // namespace oleaut::detail
