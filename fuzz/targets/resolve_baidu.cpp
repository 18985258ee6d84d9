// ResolveBaiduLink over any share page served from memory (see resolve_harness.h).
#include "app/resolvers/resolvers.h"
#include "resolve_harness.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartResolverRuntime();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzz::RunResolver(app::ResolveBaiduLink, "http://pan.baidu.com/s/1kTQdrAe", 1, data, size);
}
