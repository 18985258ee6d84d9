#include "testsupport/proxy_environment.h"

#include <cstdlib>
#include <initializer_list>

namespace testsupport {

void ClearProxyEnvironment() {
  for (const char* name : {"http_proxy", "https_proxy", "all_proxy", "no_proxy", "HTTP_PROXY", "HTTPS_PROXY",
                           "ALL_PROXY", "NO_PROXY"}) {
    unsetenv(name);
  }
}

}  // namespace testsupport
