// The current directory, in Windows form; directory names are matched without regard to case.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "kernel/process.h"
#include "paths.h"
#include "win/errors.h"

BOOL SetCurrentDirectoryA(LPCSTR path) {
  if (!path || !*path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::optional<std::string> directory = kernel::ResolveDirectoryNoCase(kernel::ToPosixPath(path));
  if (!directory) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  if (chdir(directory->c_str()) != 0) {
    SetLastError(errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  return TRUE;
}

// As Windows: the length copied (without the NUL) when it fits, otherwise the size needed
// (with the NUL) and the buffer left alone.
DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
  std::vector<char> cwd(PATH_MAX);
  while (!getcwd(cwd.data(), cwd.size())) {
    if (errno != ERANGE) {
      SetLastError(ERROR_PATH_NOT_FOUND);
      return 0;
    }
    cwd.resize(cwd.size() * 2);
  }
  std::string path = kernel::ToWindowsPath(cwd.data());
  if (!buffer || path.size() >= size) return static_cast<DWORD>(path.size() + 1);
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}
