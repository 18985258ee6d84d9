// The test hook PANLIFT_CONNECT_TO: "host:port=address:port,..." aims a host at another
// address (a local test server) while Host and cookie domains keep the original host.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wininet {

// Entries in libcurl's CONNECT_TO syntax ("host:port:address:port"). A side without a port
// matches any port (left) or keeps the port (right); entries without "=" are skipped.
std::vector<std::string> ParseConnectTo(std::string_view map);

std::vector<std::string> ConnectToFromEnvironment();

// True when one of the entries aims host:port elsewhere. Such a request goes straight to
// its local address, past any proxy, which could not reach it.
bool IsAimed(const std::vector<std::string>& entries, std::string_view host, unsigned port);

}  // namespace wininet
