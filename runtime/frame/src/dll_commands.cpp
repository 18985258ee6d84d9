// The program's declared DLL commands, resolved by library file and entry name on first call.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "context.h"
#include "kernel/modules.h"
#include "runtime/messages.h"

namespace runtime {
namespace {

// The modules searched, in order, for an entry declared without a library name.
const char* const kSystemModules[] = {"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                      "Advapi32.dll", "Mpr.dll",   "Shell32.dll"};

// "#n" names the ordinal n (modulo 65536); anything else is a name.
LPCSTR EntryKey(const char* entryName) {
  if (entryName[0] != '#') return entryName;
  unsigned long ordinal = std::strtoul(entryName + 1, nullptr, 10);
  return MAKEINTRESOURCEA(static_cast<WORD>(ordinal % 65536));
}

FARPROC FindInSystemModules(LPCSTR key, HMODULE* found) {
  for (const char* name : kSystemModules) {
    HMODULE module = LoadLibraryA(name);
    if (!module) continue;
    if (FARPROC address = GetProcAddress(module, key)) {
      *found = module;
      return address;
    }
    FreeLibrary(module);
  }
  return nullptr;
}

HMODULE LoadDeclaredLibrary(const char* libraryName) {
  if (std::strchr(libraryName, ':')) return LoadLibraryA(libraryName);
  std::string besideProgram = std::string(ProgramDirectory()) + "\\" + libraryName;
  if (HMODULE module = LoadLibraryA(besideProgram.c_str())) return module;
  return LoadLibraryA(libraryName);
}

[[noreturn]] void EntryNotFound(const DllCommandSlot& slot) {
  char message[1024];
  if (*slot.libraryName) {
    std::snprintf(message, sizeof message, messages::kDllEntryNotFound, slot.libraryName, slot.entryName);
  } else {
    std::snprintf(message, sizeof message, messages::kSystemDllEntryNotFound, slot.entryName);
  }
  RaiseRuntimeError(message);
}

}  // namespace

void SetDllCommandTable(std::int32_t count, const char* const* libraryNames, const char* const* entryNames) {
  RuntimeContext& context = Context();
  context.dllCommands.clear();
  for (std::int32_t i = 0; i < count; ++i) {
    context.dllCommands.push_back({libraryNames[i] ? libraryNames[i] : "", entryNames[i] ? entryNames[i] : "",
                                   nullptr, nullptr, -1});
  }
}

DllCall CallDllCommand(std::int32_t index) {
  auto& commands = Context().dllCommands;
  if (index < 0 || static_cast<std::size_t>(index) >= commands.size()) {
    ReportRuntimeError(11);  // not a declared command: the argument is not what is required
  }
  DllCommandSlot& slot = commands[index];
  if (!slot.address) {
    LPCSTR key = EntryKey(slot.entryName);
    HMODULE module = nullptr;
    FARPROC address = nullptr;
    if (*slot.libraryName == '\0') {
      address = FindInSystemModules(key, &module);
    } else if ((module = LoadDeclaredLibrary(slot.libraryName))) {
      address = GetProcAddress(module, key);
    }
    if (!address) {
      if (module) FreeLibrary(module);
      EntryNotFound(slot);
    }
    slot.address = address;
    slot.module = module;
    slot.argumentBytes = GetExportArgumentBytes(module, address);
  }
  return {slot.address, slot.argumentBytes};
}

}  // namespace runtime
