// Linked into a test binary, clears the proxy variables before any test runs, so that
// every test starts from a direct connection whatever the machine's environment.
#include "testsupport/proxy_environment.h"

namespace {
struct ClearedAtStart {
  ClearedAtStart() { testsupport::ClearProxyEnvironment(); }
} clearedAtStart;
}  // namespace
