#include "module_registry.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>

#include "win/ascii_case.h"
#include "win/errors.h"

namespace kernel {

std::string BuiltinKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) c = ascii::Lower(c);
  if (key.size() > 4 && key.ends_with(".dll")) key.resize(key.size() - 4);
  return key;
}

ModuleRegistry& ModuleRegistry::Instance() {
  // Never destroyed: other libraries' static objects may still free modules at exit.
  static ModuleRegistry* registry = new ModuleRegistry;
  return *registry;
}

ModuleRegistry::ModuleRegistry() {
  for (const SystemModule& module : SystemModules()) AddExportsLocked(module.name, module.exports);
}

HMODULE ModuleRegistry::NewHandle(std::unique_ptr<ModuleRecord> record) {
  // Handle values look like module base addresses and are never reused, so a stale handle
  // cannot reach a module loaded later.
  UINT_PTR value = nextHandle_;
  nextHandle_ += 0x10000;
  modules_.emplace(value, std::move(record));
  return reinterpret_cast<HMODULE>(value);
}

ModuleRecord* ModuleRegistry::Lookup(HMODULE module) {
  auto it = modules_.find(reinterpret_cast<UINT_PTR>(module));
  return it == modules_.end() ? nullptr : it->second.get();
}

void ModuleRegistry::AddExports(std::string_view moduleName, std::span<const BuiltinExport> exports) {
  std::lock_guard lock(mutex_);
  AddExportsLocked(moduleName, exports);
}

void ModuleRegistry::AddExportsLocked(std::string_view moduleName, std::span<const BuiltinExport> exports) {
  std::string key = BuiltinKey(moduleName);
  ModuleRecord* module = nullptr;
  if (auto it = builtins_.find(key); it != builtins_.end()) {
    module = modules_.at(it->second).get();
  } else {
    auto record = std::make_unique<ModuleRecord>();
    record->name = std::string(moduleName);
    record->builtin = true;
    module = record.get();
    builtins_.emplace(key, reinterpret_cast<UINT_PTR>(NewHandle(std::move(record))));
  }
  for (const BuiltinExport& entry : exports) {
    ExportRecord added{entry.name ? entry.name : "", entry.ordinal, entry.argumentBytes, entry.address};
    auto same = [&](const ExportRecord& old) {
      return added.name.empty() ? old.name.empty() && old.ordinal == added.ordinal : old.name == added.name;
    };
    auto it = std::find_if(module->exports.begin(), module->exports.end(), same);
    if (it != module->exports.end()) {
      *it = std::move(added);
    } else {
      module->exports.push_back(std::move(added));
    }
  }
}

HMODULE ModuleRegistry::LoadBuiltin(std::string_view name) {
  std::lock_guard lock(mutex_);
  auto it = builtins_.find(BuiltinKey(name));
  if (it == builtins_.end()) return nullptr;
  ++modules_.at(it->second)->loadCount;
  return reinterpret_cast<HMODULE>(it->second);
}

HMODULE ModuleRegistry::Adopt(void* library, std::string path, void** surplus) {
  std::lock_guard lock(mutex_);
  *surplus = nullptr;
  if (auto it = libraries_.find(library); it != libraries_.end()) {
    ++modules_.at(it->second)->loadCount;
    *surplus = library;
    return reinterpret_cast<HMODULE>(it->second);
  }
  auto record = std::make_unique<ModuleRecord>();
  record->name = std::move(path);
  record->library = library;
  record->loadCount = 1;
  HMODULE handle = NewHandle(std::move(record));
  libraries_.emplace(library, reinterpret_cast<UINT_PTR>(handle));
  return handle;
}

bool ModuleRegistry::Release(HMODULE module, void** unload) {
  std::lock_guard lock(mutex_);
  *unload = nullptr;
  ModuleRecord* record = Lookup(module);
  if (!record || record->loadCount == 0) return false;
  if (--record->loadCount == 0 && !record->builtin) {
    *unload = record->library;
    libraries_.erase(record->library);
    modules_.erase(reinterpret_cast<UINT_PTR>(module));
  }
  return true;
}

FARPROC ModuleRegistry::Find(HMODULE module, LPCSTR procName, DWORD* error) {
  std::lock_guard lock(mutex_);
  ModuleRecord* record = Lookup(module);
  if (!record) {
    *error = ERROR_MOD_NOT_FOUND;
    return nullptr;
  }
  *error = ERROR_PROC_NOT_FOUND;
  bool byOrdinal = IS_INTRESOURCE(procName);
  if (!record->builtin) {
    // A shared object has no ordinals. dlsym runs under the lock so that no other thread
    // can close the library meanwhile.
    if (byOrdinal) return nullptr;
    return reinterpret_cast<FARPROC>(dlsym(record->library, procName));
  }
  WORD ordinal = LOWORD(reinterpret_cast<ULONG_PTR>(procName));
  for (const ExportRecord& entry : record->exports) {
    bool match = byOrdinal ? ordinal != 0 && entry.ordinal == ordinal : entry.name == procName;
    if (match) return entry.address;
  }
  return nullptr;
}

int ModuleRegistry::ArgumentBytes(HMODULE module, FARPROC address) {
  std::lock_guard lock(mutex_);
  ModuleRecord* record = Lookup(module);
  if (!record || !record->builtin) return -1;
  for (const ExportRecord& entry : record->exports) {
    if (entry.address == address) return entry.argumentBytes;
  }
  return -1;
}

std::optional<std::string> ModuleRegistry::FileName(HMODULE module) {
  std::lock_guard lock(mutex_);
  ModuleRecord* record = Lookup(module);
  if (!record) return std::nullopt;
  return record->name;
}

}  // namespace kernel
