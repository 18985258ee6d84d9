// Module loading by name, as Windows' kernel32 offers it.
//
// Modules are looked up first in a registry of built-in modules, to which other platform
// libraries add their exports ("wininet.dll", "ole32.dll", the system modules); names
// compare without regard to case, with or without ".dll". Any other name is loaded as a
// real shared object with dlopen, found in its directory without regard to case.
#pragma once

#include <span>

#include "win/types.h"

// One function that a built-in module exports.
struct BuiltinExport {
  const char* name;       // exported name, compared case-sensitively as Windows does
  WORD ordinal;           // export ordinal (0: exported by name only)
  int argumentBytes;      // bytes of arguments the function removes, counted as on 32-bit Windows
  FARPROC address;
};

// A function as the address an export records.
template <typename F>
FARPROC ExportAddress(F* function) {
  return reinterpret_cast<FARPROC>(function);
}

// Adds exports to the built-in module of that name (created when it does not exist yet).
// Adding an export whose name is already there replaces it. Safe to call more than once.
void RegisterBuiltinModule(const char* moduleName, std::span<const BuiltinExport> exports);

HMODULE LoadLibraryA(LPCSTR fileName);
// Name, or an ordinal passed as MAKEINTRESOURCEA(n).
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
BOOL FreeLibrary(HMODULE module);

// The recorded argument byte count of an export, or -1 when the module records none
// (a real shared object: its functions follow the C convention, the caller removes arguments).
int GetExportArgumentBytes(HMODULE module, FARPROC address);

// The executable's path in Windows form ("\" separators) for module null; returns the
// length copied, truncated to size - 1 with a NUL as Windows does.
DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
