// A throw-away self-signed certificate for a TLS test server.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

struct TlsCertificate {
  std::string certificateFile;  // PEM; also the CA file a client must trust
  std::string privateKeyFile;   // PEM
};

// Writes a fresh key and a self-signed certificate, valid for a day, into directory (which
// must exist). The certificate names "localhost", 127.0.0.1 and every name in dnsNames.
// Throws std::runtime_error when OpenSSL fails.
TlsCertificate MakeSelfSignedCertificate(const std::string& directory,
                                         const std::vector<std::string>& dnsNames = {});

}  // namespace testsupport
