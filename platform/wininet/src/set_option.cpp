// InternetSetOptionA: timeouts, proxies and credentials on a handle (and so on the handles
// below it); timeouts also on the null handle, as process-wide defaults.
#include <cstring>

#include "failure.h"
#include "handles.h"

using namespace wininet;

namespace {

std::optional<DWORD> HandleOptions::*TimeoutMember(DWORD option) {
  switch (option) {
    case INTERNET_OPTION_CONNECT_TIMEOUT: return &HandleOptions::connectTimeout;
    case INTERNET_OPTION_SEND_TIMEOUT: return &HandleOptions::sendTimeout;
    case INTERNET_OPTION_RECEIVE_TIMEOUT: return &HandleOptions::receiveTimeout;
    case INTERNET_OPTION_DATA_SEND_TIMEOUT: return &HandleOptions::dataSendTimeout;
    case INTERNET_OPTION_DATA_RECEIVE_TIMEOUT: return &HandleOptions::dataReceiveTimeout;
    default: return nullptr;
  }
}

std::optional<std::string> HandleOptions::*TextMember(DWORD option) {
  switch (option) {
    case INTERNET_OPTION_USERNAME: return &HandleOptions::userName;
    case INTERNET_OPTION_PASSWORD: return &HandleOptions::password;
    case INTERNET_OPTION_USER_AGENT: return &HandleOptions::userAgent;
    case INTERNET_OPTION_PROXY_USERNAME: return &HandleOptions::proxyUserName;
    case INTERNET_OPTION_PROXY_PASSWORD: return &HandleOptions::proxyPassword;
    default: return nullptr;
  }
}

}  // namespace

BOOL InternetSetOptionA(HINTERNET internet, DWORD option, LPVOID buffer, DWORD bufferLength) {
  auto timeout = TimeoutMember(option);
  auto text = TextMember(option);
  if (!timeout && !text && option != INTERNET_OPTION_PROXY) return Fail(ERROR_INTERNET_INVALID_OPTION);
  if (!buffer && bufferLength != 0) return Fail(ERROR_INVALID_PARAMETER);

  auto lock = LockHandles();
  HandleOptions* options = &ProcessOptions();
  if (internet) {
    auto object = FindAnyHandle(internet);  // the table keeps it alive while the lock is held
    if (!object) return Fail(ERROR_INVALID_HANDLE);
    options = &object->options;
  } else if (!timeout) {
    return Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  }

  if (timeout) {
    if (bufferLength != sizeof(DWORD) || !buffer) return Fail(ERROR_INTERNET_BAD_OPTION_LENGTH);
    DWORD milliseconds;
    std::memcpy(&milliseconds, buffer, sizeof milliseconds);
    options->*timeout = milliseconds;
  } else if (text) {
    const char* chars = static_cast<const char*>(buffer);
    options->*text = chars ? std::string(chars, strnlen(chars, bufferLength)) : std::string();
  } else {
    if (bufferLength < sizeof(INTERNET_PROXY_INFO) || !buffer) return Fail(ERROR_INTERNET_BAD_OPTION_LENGTH);
    INTERNET_PROXY_INFO info;
    std::memcpy(&info, buffer, sizeof info);
    ProxySetting setting;
    setting.accessType = info.dwAccessType;
    if (info.lpszProxy) setting.proxyList = info.lpszProxy;
    if (info.lpszProxyBypass) setting.bypassList = info.lpszProxyBypass;
    bool known = info.dwAccessType == INTERNET_OPEN_TYPE_PRECONFIG || info.dwAccessType == INTERNET_OPEN_TYPE_DIRECT ||
                 info.dwAccessType == INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY ||
                 (info.dwAccessType == INTERNET_OPEN_TYPE_PROXY && !setting.proxyList.empty());
    if (!known) return Fail(ERROR_INVALID_PARAMETER);
    options->proxy = setting;
  }
  return TRUE;
}
