// The WinInet functions that Panlift calls, with Windows' names, constants and behaviour,
// over libcurl. Everything is synchronous and runs on the calling thread: a send returns
// when the final response's headers are in, each read returns the next body bytes as they
// arrive. Failures return FALSE or null and leave the reason in GetLastError.
//
// Behaviour worth knowing:
// - One cookie store per process, filled by responses (unless INTERNET_FLAG_NO_COOKIES) and
//   by InternetSetCookieA, sent on later requests that its rules match.
// - Redirects 301, 302, 303 (which turn any other verb into GET and drop the body) and 307
//   are followed, at most 20 of them, unless INTERNET_FLAG_NO_AUTO_REDIRECT.
// - Timeouts (connect, send, receive) are 60 s unless set with InternetSetOptionA on the
//   handle or one of its parents. There is no wait without a limit: 0 and 0xFFFFFFFF, which
//   would ask for none, leave the 60 s, so a silent server cannot hang a caller for ever.
// - INTERNET_OPEN_TYPE_PRECONFIG takes the proxy from the environment (http_proxy,
//   https_proxy, all_proxy, no_proxy), as the system's setting would be; the other access
//   types ignore those variables.
// - https trusts the system's root certificates and those added with AddTrustedRoots
//   (wininet/trusted_roots.h), as a root installed in the system store would be.
// - The one test hook (environment): PANLIFT_CONNECT_TO="host:port=127.0.0.1:8080,..."
//   connects to another address while Host and cookie domains keep the original host.
#pragma once

#include "win/errors.h"
#include "win/types.h"

using HINTERNET = void*;
using INTERNET_PORT = WORD;

// ---- InternetOpenA ----
inline constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG = 0;
inline constexpr DWORD INTERNET_OPEN_TYPE_DIRECT = 1;
inline constexpr DWORD INTERNET_OPEN_TYPE_PROXY = 3;
inline constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY = 4;
inline constexpr DWORD INTERNET_FLAG_ASYNC = 0x10000000;  // not supported: every call is synchronous

// ---- InternetConnectA ----
inline constexpr DWORD INTERNET_SERVICE_FTP = 1;
inline constexpr DWORD INTERNET_SERVICE_GOPHER = 2;
inline constexpr DWORD INTERNET_SERVICE_HTTP = 3;
inline constexpr INTERNET_PORT INTERNET_INVALID_PORT_NUMBER = 0;  // the scheme's default port
inline constexpr INTERNET_PORT INTERNET_DEFAULT_HTTP_PORT = 80;
inline constexpr INTERNET_PORT INTERNET_DEFAULT_HTTPS_PORT = 443;

// ---- Request flags ----
inline constexpr DWORD INTERNET_FLAG_RELOAD = 0x80000000;
inline constexpr DWORD INTERNET_FLAG_NO_CACHE_WRITE = 0x04000000;
inline constexpr DWORD INTERNET_FLAG_SECURE = 0x00800000;
inline constexpr DWORD INTERNET_FLAG_KEEP_CONNECTION = 0x00400000;
inline constexpr DWORD INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000;
inline constexpr DWORD INTERNET_FLAG_NO_COOKIES = 0x00080000;
inline constexpr DWORD INTERNET_FLAG_NO_AUTH = 0x00040000;
inline constexpr DWORD INTERNET_FLAG_IGNORE_CERT_DATE_INVALID = 0x00002000;
inline constexpr DWORD INTERNET_FLAG_IGNORE_CERT_CN_INVALID = 0x00001000;
inline constexpr DWORD INTERNET_FLAG_NO_UI = 0x00000200;
inline constexpr DWORD INTERNET_FLAG_PRAGMA_NOCACHE = 0x00000100;

// ---- InternetSetOptionA ----
inline constexpr DWORD INTERNET_OPTION_CONNECT_TIMEOUT = 2;
inline constexpr DWORD INTERNET_OPTION_SEND_TIMEOUT = 5;
inline constexpr DWORD INTERNET_OPTION_RECEIVE_TIMEOUT = 6;
inline constexpr DWORD INTERNET_OPTION_DATA_SEND_TIMEOUT = 7;
inline constexpr DWORD INTERNET_OPTION_DATA_RECEIVE_TIMEOUT = 8;
inline constexpr DWORD INTERNET_OPTION_USERNAME = 28;
inline constexpr DWORD INTERNET_OPTION_PASSWORD = 29;
inline constexpr DWORD INTERNET_OPTION_PROXY = 38;
inline constexpr DWORD INTERNET_OPTION_USER_AGENT = 41;
inline constexpr DWORD INTERNET_OPTION_PROXY_USERNAME = 43;
inline constexpr DWORD INTERNET_OPTION_PROXY_PASSWORD = 44;

struct INTERNET_PROXY_INFO {
  DWORD dwAccessType;  // INTERNET_OPEN_TYPE_*
  LPCSTR lpszProxy;        // "[scheme=][scheme://]host[:port]" entries, space or ";" separated
  LPCSTR lpszProxyBypass;  // host patterns ("*" wildcards, "<local>": names without a dot)
};

// ---- HttpQueryInfoA ----
inline constexpr DWORD HTTP_QUERY_CONTENT_TYPE = 1;
inline constexpr DWORD HTTP_QUERY_CONTENT_LENGTH = 5;
inline constexpr DWORD HTTP_QUERY_STATUS_CODE = 19;
inline constexpr DWORD HTTP_QUERY_STATUS_TEXT = 20;
inline constexpr DWORD HTTP_QUERY_RAW_HEADERS = 21;
inline constexpr DWORD HTTP_QUERY_RAW_HEADERS_CRLF = 22;
inline constexpr DWORD HTTP_QUERY_LOCATION = 33;
inline constexpr DWORD HTTP_QUERY_SET_COOKIE = 43;
inline constexpr DWORD HTTP_QUERY_FLAG_NUMBER = 0x20000000;  // a DWORD; the buffer must be 4 bytes
inline constexpr DWORD HTTP_QUERY_MODIFIER_FLAGS_MASK = 0xF0000000;

// ---- InternetCrackUrlA ----
enum INTERNET_SCHEME : INT {
  INTERNET_SCHEME_PARTIAL = -2,
  INTERNET_SCHEME_UNKNOWN = -1,
  INTERNET_SCHEME_DEFAULT = 0,
  INTERNET_SCHEME_FTP = 1,
  INTERNET_SCHEME_GOPHER = 2,
  INTERNET_SCHEME_HTTP = 3,
  INTERNET_SCHEME_HTTPS = 4,
  INTERNET_SCHEME_FILE = 5,
  INTERNET_SCHEME_NEWS = 6,
  INTERNET_SCHEME_MAILTO = 7,
  INTERNET_SCHEME_SOCKS = 8,
  INTERNET_SCHEME_JAVASCRIPT = 9,
  INTERNET_SCHEME_VBSCRIPT = 10,
  INTERNET_SCHEME_RES = 11,
};

// For each part: pointer and length both 0 = not wanted; pointer null and length non-zero =
// point into the URL; a buffer = copy with a NUL (ERROR_INSUFFICIENT_BUFFER when too small,
// the length then being the size needed). When the extra information (?query#fragment) is
// not wanted, the path carries it.
struct URL_COMPONENTSA {
  DWORD dwStructSize;
  LPSTR lpszScheme;
  DWORD dwSchemeLength;
  INTERNET_SCHEME nScheme;
  LPSTR lpszHostName;
  DWORD dwHostNameLength;
  INTERNET_PORT nPort;
  LPSTR lpszUserName;
  DWORD dwUserNameLength;
  LPSTR lpszPassword;
  DWORD dwPasswordLength;
  LPSTR lpszUrlPath;
  DWORD dwUrlPathLength;
  LPSTR lpszExtraInfo;
  DWORD dwExtraInfoLength;
};

// ---- Error codes ----
inline constexpr DWORD ERROR_INTERNET_OUT_OF_HANDLES = 12001;
inline constexpr DWORD ERROR_INTERNET_TIMEOUT = 12002;
inline constexpr DWORD ERROR_INTERNET_INTERNAL_ERROR = 12004;
inline constexpr DWORD ERROR_INTERNET_INVALID_URL = 12005;
inline constexpr DWORD ERROR_INTERNET_UNRECOGNIZED_SCHEME = 12006;
inline constexpr DWORD ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
inline constexpr DWORD ERROR_INTERNET_INVALID_OPTION = 12009;
inline constexpr DWORD ERROR_INTERNET_BAD_OPTION_LENGTH = 12010;
inline constexpr DWORD ERROR_INTERNET_INVALID_OPERATION = 12016;
inline constexpr DWORD ERROR_INTERNET_INCORRECT_HANDLE_TYPE = 12018;
inline constexpr DWORD ERROR_INTERNET_INCORRECT_HANDLE_STATE = 12019;
inline constexpr DWORD ERROR_INTERNET_CANNOT_CONNECT = 12029;
inline constexpr DWORD ERROR_INTERNET_CONNECTION_ABORTED = 12030;
inline constexpr DWORD ERROR_INTERNET_CONNECTION_RESET = 12031;
inline constexpr DWORD ERROR_INTERNET_SEC_CERT_CN_INVALID = 12038;
inline constexpr DWORD ERROR_INTERNET_INVALID_CA = 12045;
inline constexpr DWORD ERROR_HTTP_HEADER_NOT_FOUND = 12150;
inline constexpr DWORD ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152;
inline constexpr DWORD ERROR_HTTP_INVALID_HEADER = 12153;
inline constexpr DWORD ERROR_HTTP_INVALID_QUERY_REQUEST = 12154;
inline constexpr DWORD ERROR_HTTP_REDIRECT_FAILED = 12156;
inline constexpr DWORD ERROR_INTERNET_SECURITY_CHANNEL_ERROR = 12157;

// ---- The functions ----
HINTERNET InternetOpenA(LPCSTR agent, DWORD accessType, LPCSTR proxy, LPCSTR proxyBypass, DWORD flags);
HINTERNET InternetConnectA(HINTERNET internet, LPCSTR serverName, INTERNET_PORT serverPort, LPCSTR userName,
                           LPCSTR password, DWORD service, DWORD flags, DWORD_PTR context);
// acceptTypes: a null-terminated list, sent as one Accept header (a header of the same name
// given to HttpSendRequestA replaces it). version "HTTP/1.0" or "HTTP/1.1" (null: 1.1).
HINTERNET HttpOpenRequestA(HINTERNET connection, LPCSTR verb, LPCSTR objectName, LPCSTR version,
                           LPCSTR referrer, LPCSTR* acceptTypes, DWORD flags, DWORD_PTR context);
// headersLength 0xFFFFFFFF: headers is NUL-terminated.
BOOL HttpSendRequestA(HINTERNET request, LPCSTR headers, DWORD headersLength, LPVOID optional,
                      DWORD optionalLength);
BOOL HttpQueryInfoA(HINTERNET request, DWORD infoLevel, LPVOID buffer, LPDWORD bufferLength, LPDWORD index);
// TRUE with 0 bytes read at the end of the body; FALSE when the connection failed.
BOOL InternetReadFile(HINTERNET file, LPVOID buffer, DWORD numberOfBytesToRead, LPDWORD numberOfBytesRead);
BOOL InternetSetCookieA(LPCSTR url, LPCSTR cookieName, LPCSTR cookieData);
// internet null: the process-wide default of a timeout option.
BOOL InternetSetOptionA(HINTERNET internet, DWORD option, LPVOID buffer, DWORD bufferLength);
// Closes the handle and every handle opened under it.
BOOL InternetCloseHandle(HINTERNET internet);
// flags must be 0: the parts are returned as they stand.
BOOL InternetCrackUrlA(LPCSTR url, DWORD urlLength, DWORD flags, URL_COMPONENTSA* urlComponents);

// Registers the functions above as the built-in module "wininet.dll" (once; later calls do
// nothing, so a test may replace an export in between).
void RegisterWininetModule();
