// The WinInet error that stands for a libcurl result.
#pragma once

#include <curl/curl.h>

#include "win/types.h"

namespace wininet {
DWORD ErrorFromCurl(CURLcode code);
}
