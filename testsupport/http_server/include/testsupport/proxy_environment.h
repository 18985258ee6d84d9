// Network tests must not depend on the machine they run on: a CI runner with http_proxy
// set would send their requests, meant for the local server, to its proxy instead.
#pragma once

namespace testsupport {

// Unsets http_proxy, https_proxy, all_proxy and no_proxy, in lower and upper case.
void ClearProxyEnvironment();

}  // namespace testsupport
