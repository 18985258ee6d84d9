// A "wininet.dll" that answers from memory: every GET with one response, every POST with
// another, with no socket anywhere. It replaces the built-in module's exports (the same
// argument sizes, so the runtime's stack check still holds) once the runtime has started.
#pragma once

#include <string>

namespace fuzz {

struct MemoryResponse {
  std::string headers;  // the raw header block as HttpQueryInfoA gives it
  std::string body;
};

void InstallMemoryWininet();
void ServeFromMemory(MemoryResponse get, MemoryResponse post);

// Connections and requests still open, and internet handles (the Internet library keeps
// one for the life of the process).
int OpenRequestHandles();
int OpenInternetHandles();
// Requests sent since ServeFromMemory.
int RequestsSent();

}  // namespace fuzz
