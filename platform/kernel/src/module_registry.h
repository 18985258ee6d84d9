// The process's modules: built-in ones (exports registered by platform libraries) and real
// shared objects (opened with dlopen), each under an opaque handle with a load count.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/modules.h"

namespace kernel {

struct ExportRecord {
  std::string name;  // empty for an export by ordinal only
  WORD ordinal;
  int argumentBytes;
  FARPROC address;
};

struct ModuleRecord {
  std::string name;  // built-in: as first registered; shared object: its path
  bool builtin = false;
  std::vector<ExportRecord> exports;  // built-in only
  void* library = nullptr;            // shared object only
  long loadCount = 0;
};

// "WinINet.DLL", "wininet.dll" and "WININET" are one built-in module.
std::string BuiltinKey(std::string_view name);

class ModuleRegistry {
 public:
  static ModuleRegistry& Instance();

  void AddExports(std::string_view moduleName, std::span<const BuiltinExport> exports);
  // The built-in module of that name with its count raised; null when there is none.
  HMODULE LoadBuiltin(std::string_view name);
  // Takes over one dlopen reference. A library that is already loaded keeps its handle; the
  // duplicate reference comes back in *surplus for the caller to close outside the lock.
  HMODULE Adopt(void* library, std::string path, void** surplus);
  // Lowers the count; false for an unknown handle or one not loaded. A shared object whose
  // count reaches 0 is forgotten and comes back in *unload to be closed outside the lock.
  bool Release(HMODULE module, void** unload);

  FARPROC Find(HMODULE module, LPCSTR procName, DWORD* error);
  int ArgumentBytes(HMODULE module, FARPROC address);
  std::optional<std::string> FileName(HMODULE module);

 private:
  ModuleRegistry();
  ModuleRecord* Lookup(HMODULE module);
  void AddExportsLocked(std::string_view moduleName, std::span<const BuiltinExport> exports);
  HMODULE NewHandle(std::unique_ptr<ModuleRecord> record);

  std::mutex mutex_;
  std::map<UINT_PTR, std::unique_ptr<ModuleRecord>> modules_;  // by handle value
  std::map<std::string, UINT_PTR> builtins_;                   // by BuiltinKey
  std::map<void*, UINT_PTR> libraries_;                        // by dlopen handle
  UINT_PTR nextHandle_ = 0x10000000;
};

// The modules the kernel brings itself: the six system modules, Kernel32 with the kernel's
// own functions.
struct SystemModule {
  const char* name;
  std::span<const BuiltinExport> exports;
};
std::span<const SystemModule> SystemModules();

}  // namespace kernel
