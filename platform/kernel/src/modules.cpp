// LoadLibraryA, GetProcAddress and FreeLibrary: built-in modules first, then shared objects
// found as Windows finds a DLL, but on a case-sensitive file system.
#include <dlfcn.h>
#include <link.h>

#include <climits>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "kernel/modules.h"
#include "kernel/process.h"
#include "module_registry.h"
#include "paths.h"
#include "win/errors.h"

namespace {

using kernel::EntryKind;

// The names Windows tries for a file name: "x" (no extension) is "x.dll" (and, here, also a
// file named plainly "x"); a trailing dot ("x.") means exactly "x".
std::vector<std::string> CandidateNames(std::string_view file) {
  if (file.ends_with('.')) return {std::string(file.substr(0, file.size() - 1))};
  if (file.find('.') == std::string_view::npos) return {std::string(file) + ".dll", std::string(file)};
  return {std::string(file)};
}

std::optional<std::string> FindInDirectory(const std::string& directory, std::string_view file) {
  for (const std::string& candidate : CandidateNames(file)) {
    if (candidate.empty()) continue;
    if (auto found = kernel::FindEntryNoCase(directory, candidate, EntryKind::File)) return found;
  }
  return std::nullopt;
}

// A path (POSIX form): its directory is found without regard to case, then the file in it.
std::optional<std::string> FindPath(const std::string& path) {
  std::size_t slash = path.rfind('/');
  std::string directory = slash == 0 ? "/" : path.substr(0, slash);
  std::optional<std::string> resolved = kernel::ResolveDirectoryNoCase(directory);
  if (!resolved) return std::nullopt;
  std::string_view file = std::string_view(path).substr(slash + 1);
  if (file.empty()) return std::nullopt;
  return FindInDirectory(*resolved, file);
}

// A bare name: beside the executable, then in the current directory.
std::optional<std::string> FindBareName(std::string_view name) {
  const std::string& executable = kernel::ExecutablePath();
  if (std::size_t slash = executable.rfind('/'); slash != std::string::npos) {
    if (auto found = FindInDirectory(executable.substr(0, slash + 1), name)) return found;
  }
  return FindInDirectory(".", name);
}

std::string AbsolutePath(const std::string& path) {
  char* absolute = realpath(path.c_str(), nullptr);
  if (!absolute) return path;
  std::string result(absolute);
  std::free(absolute);
  return result;
}

// The file that the dynamic linker found for a library opened by name alone.
std::string LinkedPath(void* library, const char* name) {
  link_map* map = nullptr;
  if (dlinfo(library, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name && *map->l_name) return map->l_name;
  return name;
}

}  // namespace

void RegisterBuiltinModule(const char* moduleName, std::span<const BuiltinExport> exports) {
  if (!moduleName || !*moduleName) return;
  kernel::ModuleRegistry::Instance().AddExports(moduleName, exports);
}

HMODULE LoadLibraryA(LPCSTR fileName) {
  if (!fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::string_view name(fileName);
  kernel::ModuleRegistry& registry = kernel::ModuleRegistry::Instance();
  bool isPath = name.find_first_of("\\/") != std::string_view::npos;
  if (!isPath && !name.empty()) {
    if (HMODULE module = registry.LoadBuiltin(name)) return module;
  }

  void* library = nullptr;
  std::string path;
  if (!name.empty()) {
    std::optional<std::string> file = isPath ? FindPath(kernel::ToPosixPath(name)) : FindBareName(name);
    if (file) {
      path = AbsolutePath(*file);
      library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    } else if (!isPath) {
      // The system's own search (LD_LIBRARY_PATH, the linker cache) for names such as "libz.so.1".
      library = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
      if (library) path = LinkedPath(library, fileName);
    }
  }
  if (!library) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  void* surplus = nullptr;
  HMODULE module = registry.Adopt(library, std::move(path), &surplus);
  if (surplus) dlclose(surplus);
  return module;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
  DWORD error = ERROR_SUCCESS;
  FARPROC address = kernel::ModuleRegistry::Instance().Find(module, procName, &error);
  if (!address) SetLastError(error);
  return address;
}

BOOL FreeLibrary(HMODULE module) {
  void* unload = nullptr;
  if (!kernel::ModuleRegistry::Instance().Release(module, &unload)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return FALSE;
  }
  if (unload) dlclose(unload);
  return TRUE;
}

int GetExportArgumentBytes(HMODULE module, FARPROC address) {
  return kernel::ModuleRegistry::Instance().ArgumentBytes(module, address);
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
  std::optional<std::string> path;
  if (!module) {
    path = kernel::ExecutablePath();
  } else {
    path = kernel::ModuleRegistry::Instance().FileName(module);
  }
  if (!path || path->empty()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  return kernel::CopyTruncated(kernel::ToWindowsPath(*path), buffer, size);
}
