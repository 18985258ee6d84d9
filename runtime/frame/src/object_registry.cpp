// The ObjectRegistry: which object pointers the runtime knows, each with its kind byte.
#include "context.h"

namespace runtime {

std::int32_t ObjectKind(const void* object) {
  const auto& registry = Context().objectRegistry;
  auto found = registry.find(object);
  return found == registry.end() ? -1 : found->second;
}

void RegisterObject(const void* object, std::int32_t kind) {
  // An object that is registered already keeps its kind.
  Context().objectRegistry.emplace(object, static_cast<std::uint8_t>(kind));
}

bool UnregisterObject(const void* object) { return Context().objectRegistry.erase(object) != 0; }

}  // namespace runtime
