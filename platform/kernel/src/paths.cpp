#include "paths.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "win/errors.h"
#include "kernel/process.h"

namespace kernel {
namespace {

bool IsKind(const std::string& path, EntryKind kind) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return false;
  return kind == EntryKind::Directory ? S_ISDIR(info.st_mode) : S_ISREG(info.st_mode);
}

std::string Join(const std::string& directory, std::string_view name) {
  if (directory.empty() || directory.back() == '/') return directory + std::string(name);
  return directory + "/" + std::string(name);
}

}  // namespace

std::string ToPosixPath(std::string_view path) {
  std::string result(path);
  std::replace(result.begin(), result.end(), '\\', '/');
  return result;
}

std::string ToWindowsPath(std::string_view path) {
  std::string result(path);
  std::replace(result.begin(), result.end(), '/', '\\');
  return result;
}

std::optional<std::string> FindEntryNoCase(const std::string& directory, std::string_view name,
                                           EntryKind kind) {
  if (name.empty() || name.find('/') != std::string_view::npos) return std::nullopt;
  std::string exact = Join(directory, name);
  if (IsKind(exact, kind)) return exact;

  DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
  if (!dir) return std::nullopt;
  std::vector<std::string> matches;
  while (const dirent* entry = readdir(dir)) {
    if (std::strlen(entry->d_name) == name.size() &&
        strncasecmp(entry->d_name, name.data(), name.size()) == 0) {
      matches.emplace_back(entry->d_name);
    }
  }
  closedir(dir);
  std::sort(matches.begin(), matches.end());
  for (const std::string& match : matches) {
    std::string candidate = Join(directory, match);
    if (IsKind(candidate, kind)) return candidate;
  }
  return std::nullopt;
}

std::optional<std::string> ResolveDirectoryNoCase(const std::string& path) {
  if (path.empty()) return std::nullopt;
  if (IsKind(path, EntryKind::Directory)) return path;

  // Component by component; "." and ".." are found as they are.
  std::string resolved = path.front() == '/' ? "/" : ".";
  std::size_t start = 0;
  while (start < path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string_view component(path.data() + start, end - start);
    start = end + 1;
    if (component.empty()) continue;
    std::optional<std::string> next = FindEntryNoCase(resolved, component, EntryKind::Directory);
    if (!next) return std::nullopt;
    resolved = std::move(*next);
  }
  return resolved;
}

const std::string& ExecutablePath() {
  static const std::string path = [] {
    std::vector<char> buffer(256);
    for (;;) {
      ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
      if (length < 0) return std::string();
      if (static_cast<std::size_t>(length) < buffer.size()) return std::string(buffer.data(), length);
      buffer.resize(buffer.size() * 2);
    }
  }();
  return path;
}

DWORD CopyTruncated(std::string_view text, LPSTR buffer, DWORD size) {
  if (size == 0 || !buffer) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (text.size() < size) {
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return static_cast<DWORD>(text.size());
  }
  std::memcpy(buffer, text.data(), size - 1);
  buffer[size - 1] = '\0';
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return size;
}

}  // namespace kernel
