// The WinInet error that stands for a libcurl result.
#pragma once

#include <curl/curl.h>

#include "win/types.h"

namespace wininet {
DWORD ErrorFromCurl(CURLcode code);
// The same for a transfer's result, telling a certificate that names another host (its
// chain verified) from one that no trusted root vouches for.
DWORD ErrorFromTransfer(CURL* easy, CURLcode code);
}
