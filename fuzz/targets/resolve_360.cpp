// Resolve360Link over any share page served from memory (see resolve_harness.h).
#include "app/resolvers/resolvers.h"
#include "resolve_harness.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartResolverRuntime();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzz::RunResolver(app::Resolve360Link, "http://yunpan.cn/QzMv2tLq5xC9e", 2, data, size);
}
