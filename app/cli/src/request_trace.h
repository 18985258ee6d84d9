// -v: each HTTP request the program makes, and its answer's status, on standard error.
// The program's WinInet calls are watched where it finds them, in the "wininet.dll"
// module, so the trace shows exactly what the program asks for.
#pragma once

namespace cli {

using BeforeTraceLine = void (*)();

// Before start-up, so that every library binds the watched entries; beforeLine runs before
// each line (to rub out a progress line).
void InstallRequestTrace(BeforeTraceLine beforeLine);

}  // namespace cli
