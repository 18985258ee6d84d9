#include "testsupport/tls_certificate.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace testsupport {
namespace {

struct Deleter {
  void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
  void operator()(X509* p) const { X509_free(p); }
  void operator()(X509_EXTENSION* p) const { X509_EXTENSION_free(p); }
  void operator()(std::FILE* p) const { std::fclose(p); }
};
template <typename T>
using Owned = std::unique_ptr<T, Deleter>;

void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("self-signed certificate: ") + what);
}

void AddExtension(X509* certificate, int nid, const std::string& value) {
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
  Owned<X509_EXTENSION> extension(X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str()));
  Check(extension && X509_add_ext(certificate, extension.get(), -1) == 1, "extension");
}

}  // namespace

TlsCertificate MakeSelfSignedCertificate(const std::string& directory, const std::vector<std::string>& dnsNames) {
  Owned<EVP_PKEY> key(EVP_EC_gen("P-256"));
  Check(key != nullptr, "key");

  Owned<X509> certificate(X509_new());
  Check(certificate != nullptr, "certificate");
  X509* c = certificate.get();
  X509_set_version(c, 2);  // v3, for the extensions
  ASN1_INTEGER_set(X509_get_serialNumber(c), 1);
  X509_gmtime_adj(X509_getm_notBefore(c), -3600);
  X509_gmtime_adj(X509_getm_notAfter(c), 24 * 3600);
  X509_set_pubkey(c, key.get());
  X509_NAME* name = X509_get_subject_name(c);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("localhost"), -1, -1, 0);
  X509_set_issuer_name(c, name);

  std::string altNames = "DNS:localhost,IP:127.0.0.1";
  for (const std::string& dns : dnsNames) altNames += ",DNS:" + dns;
  AddExtension(c, NID_basic_constraints, "critical,CA:TRUE");
  AddExtension(c, NID_key_usage, "critical,digitalSignature,keyCertSign");
  AddExtension(c, NID_subject_key_identifier, "hash");
  AddExtension(c, NID_subject_alt_name, altNames);
  Check(X509_sign(c, key.get(), EVP_sha256()) > 0, "signature");

  TlsCertificate files{directory + "/certificate.pem", directory + "/key.pem"};
  Owned<std::FILE> certificateOut(std::fopen(files.certificateFile.c_str(), "w"));
  Check(certificateOut && PEM_write_X509(certificateOut.get(), c) == 1, "writing the certificate");
  Owned<std::FILE> keyOut(std::fopen(files.privateKeyFile.c_str(), "w"));
  Check(keyOut && PEM_write_PrivateKey(keyOut.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1,
        "writing the key");
  return files;
}

}  // namespace testsupport
