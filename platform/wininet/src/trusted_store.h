// Hands the roots added with AddTrustedRoots to each TLS connection's certificate store.
#pragma once

#include <curl/curl.h>

namespace wininet {

// A CURLOPT_SSL_CTX_FUNCTION.
CURLcode TrustAddedRoots(CURL* easy, void* sslContext, void* unused);

}  // namespace wininet
