#include "curl_errors.h"

#include <openssl/x509_vfy.h>

#include "wininet/wininet.h"

namespace wininet {

DWORD ErrorFromCurl(CURLcode code) {
  switch (code) {
    case CURLE_OK: return ERROR_SUCCESS;
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT: return ERROR_INTERNET_INVALID_URL;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT: return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT: return ERROR_INTERNET_TIMEOUT;
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_BAD_CONTENT_ENCODING: return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR: return ERROR_INTERNET_CONNECTION_RESET;
    case CURLE_PARTIAL_FILE: return ERROR_INTERNET_CONNECTION_ABORTED;
    case CURLE_PEER_FAILED_VERIFICATION: return ERROR_INTERNET_INVALID_CA;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE: return ERROR_INTERNET_SECURITY_CHANNEL_ERROR;
    case CURLE_OUT_OF_MEMORY: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_INTERNET_INTERNAL_ERROR;
  }
}

DWORD ErrorFromTransfer(CURL* easy, CURLcode code) {
  if (code == CURLE_PEER_FAILED_VERIFICATION) {
    // The verify result is OpenSSL's verdict on the chain. libcurl checks the host name
    // itself once the chain has passed, and a failure there leaves 1 (X509_V_ERR_UNSPECIFIED).
    long verdict = -1;
    curl_easy_getinfo(easy, CURLINFO_SSL_VERIFYRESULT, &verdict);
    if (verdict == X509_V_OK || verdict == X509_V_ERR_UNSPECIFIED || verdict == X509_V_ERR_HOSTNAME_MISMATCH ||
        verdict == X509_V_ERR_IP_ADDRESS_MISMATCH) {
      return ERROR_INTERNET_SEC_CERT_CN_INVALID;
    }
  }
  return ErrorFromCurl(code);
}

}  // namespace wininet
