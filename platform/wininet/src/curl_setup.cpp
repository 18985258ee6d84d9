#include "curl_setup.h"

#include <curl/curl.h>

#include <mutex>

namespace wininet {

void EnsureCurl() {
  static std::once_flag once;
  // Never cleaned up: handles may outlive static destruction at exit.
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace wininet
