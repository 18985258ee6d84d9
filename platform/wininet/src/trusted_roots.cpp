#include "wininet/trusted_roots.h"

#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <cstdio>
#include <memory>
#include <mutex>
#include <vector>

#include "trusted_store.h"

namespace wininet {
namespace {

struct X509Free {
  void operator()(X509* p) const { X509_free(p); }
};
using Certificate = std::unique_ptr<X509, X509Free>;

std::mutex rootsLock;
// Never destroyed: a transfer on another thread may still be connecting at exit.
std::vector<Certificate>& Roots() {
  static auto* roots = new std::vector<Certificate>;
  return *roots;
}

}  // namespace

bool AddTrustedRoots(const std::string& pemFile) {
  std::FILE* file = std::fopen(pemFile.c_str(), "r");
  if (!file) return false;
  std::vector<Certificate> read;
  while (X509* certificate = PEM_read_X509(file, nullptr, nullptr, nullptr)) read.emplace_back(certificate);
  std::fclose(file);
  if (read.empty()) return false;
  std::lock_guard<std::mutex> lock(rootsLock);
  for (Certificate& c : read) Roots().push_back(std::move(c));
  return true;
}

void ClearTrustedRoots() {
  std::lock_guard<std::mutex> lock(rootsLock);
  Roots().clear();
}

CURLcode TrustAddedRoots(CURL*, void* sslContext, void*) {
  X509_STORE* store = SSL_CTX_get_cert_store(static_cast<SSL_CTX*>(sslContext));
  std::lock_guard<std::mutex> lock(rootsLock);
  for (const Certificate& c : Roots()) X509_STORE_add_cert(store, c.get());  // a duplicate is no harm
  return CURLE_OK;
}

}  // namespace wininet
