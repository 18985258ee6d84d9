// The handles that InternetOpenA, InternetConnectA and HttpOpenRequestA hand out: opaque
// numbers, never reused, mapped to objects that know their parent. Options set on a handle
// apply to every handle below it unless set there again. One lock guards the table and the
// options; the exchanges themselves run outside it.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "proxy.h"
#include "request_headers.h"
#include "transfer.h"
#include "wininet/wininet.h"

namespace wininet {

enum class HandleKind { Internet, Connection, Request };

struct HandleOptions {
  std::optional<DWORD> connectTimeout, sendTimeout, receiveTimeout, dataSendTimeout, dataReceiveTimeout;
  std::optional<ProxySetting> proxy;
  std::optional<std::string> userName, password, proxyUserName, proxyPassword, userAgent;
};

struct InternetObject {
  InternetObject(HandleKind k, std::shared_ptr<InternetObject> p) : kind(k), parent(std::move(p)) {}
  virtual ~InternetObject() = default;
  const HandleKind kind;
  const std::shared_ptr<InternetObject> parent;
  HandleOptions options;
  DWORD flags = 0;
};

struct ConnectionObject : InternetObject {
  using InternetObject::InternetObject;
  std::string host;
  INTERNET_PORT port = 0;
};

struct RequestObject : InternetObject {
  using InternetObject::InternetObject;
  std::string verb, object;
  bool http10 = false;
  std::vector<HeaderLine> derivedHeaders;  // from the accept types and the referrer
  std::unique_ptr<Transfer> transfer;      // the last successful send's
};

// The functions below need the lock held.
std::unique_lock<std::mutex> LockHandles();

HINTERNET AddHandle(std::shared_ptr<InternetObject> object);
// Null with *error ERROR_INVALID_HANDLE (unknown or closed) or
// ERROR_INTERNET_INCORRECT_HANDLE_TYPE (another kind).
std::shared_ptr<InternetObject> FindHandle(HINTERNET handle, HandleKind kind, DWORD* error);
// Any kind; null when unknown or closed.
std::shared_ptr<InternetObject> FindAnyHandle(HINTERNET handle);
// Takes the handle and every handle opened under it out of the table and returns them, so
// that the caller destroys them outside the lock. Empty when the handle is unknown.
std::vector<std::shared_ptr<InternetObject>> RemoveHandle(HINTERNET handle);

// The options of the null handle: process-wide defaults below every internet handle.
HandleOptions& ProcessOptions();

template <typename T>
std::optional<T> Inherited(const InternetObject& object, std::optional<T> HandleOptions::*member) {
  for (const InternetObject* o = &object; o; o = o->parent.get()) {
    if (o->options.*member) return o->options.*member;
  }
  return ProcessOptions().*member;
}

}  // namespace wininet
