// Root certificates the process trusts besides the system's: what installing a root
// certificate into the system store is on Windows. Tests trust the self-signed certificate
// of their local TLS server this way.
#pragma once

#include <string>

namespace wininet {

// Adds every certificate of a PEM file for the https requests sent from now on. False, and
// nothing added, when the file cannot be read or holds no certificate.
bool AddTrustedRoots(const std::string& pemFile);
void ClearTrustedRoots();

}  // namespace wininet
