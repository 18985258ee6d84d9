// The Internet support library: one command, HttpReadFile, an HTTP/1.0 GET through WinInet
// whose body comes back as a ByteSet. The runtime finds it through InternetLibraryInfo();
// LibraryNotify code 1 hands over the RuntimeNotify (through which results are allocated)
// and creates the process's InternetClient, code 6 destroys it.
#pragma once

#include <cstdint>

#include "runtime/library.h"
#include "runtime/values.h"

namespace inet {

// Place of this library in the program's library table (from 1).
inline constexpr std::uint16_t LibraryNumber = 2;

enum class CommandIndex : std::int32_t { HttpReadFile };
inline constexpr std::int32_t CommandCount = 1;

// A body is read up to this many bytes; the rest is left unread, so that an endless or
// enormous response cannot exhaust memory.
inline constexpr std::int32_t MaxBodyBytes = 64 * 1024 * 1024;

const runtime::LibraryInfo& InternetLibraryInfo();

std::intptr_t LibraryNotify(std::int32_t code, std::intptr_t p1, std::intptr_t p2);

// Argument 1: the URL (Text). Result: a new ByteSet holding the response body as received,
// the empty ByteSet when nothing was received.
void HttpReadFile(runtime::CommandResult* result, std::int32_t argc, runtime::CommandArg* args);

}  // namespace inet
