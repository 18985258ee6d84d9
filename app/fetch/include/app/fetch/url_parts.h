// The three parts of an "http://host[:port][path]" URL that a request needs.
#pragma once

#include <cstdint>

#include "runtime/values.h"

namespace app {

runtime::Text UrlHost(const char* url, bool keepPort);  // lower case; a new Text
runtime::Text UrlPath(const char* url);                 // "/" when there is none; a new Text
std::int32_t UrlPort(const char* url);                  // 80 when there is none

}  // namespace app
