#include "internet_client.h"

namespace inet {
namespace {

InternetClient* client = nullptr;

template <typename F>
void Bind(HMODULE module, const char* name, F& entry) {
  entry = reinterpret_cast<F>(GetProcAddress(module, name));
}

}  // namespace

bool WininetEntries::Complete() const {
  return internetOpen && internetConnect && httpOpenRequest && httpSendRequest && httpQueryInfo && internetReadFile &&
         internetSetOption && internetCloseHandle && internetCrackUrl;
}

InternetClient* Client() { return client; }

void CreateClient(runtime::RuntimeNotifyFunction notify) {
  if (client) {
    client->notify = notify;
    return;
  }
  client = new InternetClient;
  client->notify = notify;
  RegisterWininetModule();
  if ((client->module = LoadLibraryA("wininet.dll"))) {
    WininetEntries& w = client->wininet;
    Bind(client->module, "InternetOpenA", w.internetOpen);
    Bind(client->module, "InternetConnectA", w.internetConnect);
    Bind(client->module, "HttpOpenRequestA", w.httpOpenRequest);
    Bind(client->module, "HttpSendRequestA", w.httpSendRequest);
    Bind(client->module, "HttpQueryInfoA", w.httpQueryInfo);
    Bind(client->module, "InternetReadFile", w.internetReadFile);
    Bind(client->module, "InternetSetOptionA", w.internetSetOption);
    Bind(client->module, "InternetCloseHandle", w.internetCloseHandle);
    Bind(client->module, "InternetCrackUrlA", w.internetCrackUrl);
  }
}

void DestroyClient() {
  if (!client) return;
  if (client->internet && client->wininet.internetCloseHandle) client->wininet.internetCloseHandle(client->internet);
  if (client->module) FreeLibrary(client->module);
  delete client;
  client = nullptr;
}

}  // namespace inet
