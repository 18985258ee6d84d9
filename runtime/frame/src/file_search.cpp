#include "file_search.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "codepage/codepage.h"
#include "runtime/frame.h"
#include "win/ascii_case.h"

namespace runtime {
namespace {

struct FileSearch {
  DIR* directory = nullptr;
  std::string directoryPath;  // UTF-8, with a trailing "/" unless empty
  std::string namePattern;    // GBK
};

bool MatchFrom(const char* p, const char* n) {
  for (; *p; ++p) {
    if (*p == '*') {
      while (p[1] == '*') ++p;
      for (const char* rest = n;; ++rest) {
        if (MatchFrom(p + 1, rest)) return true;
        if (!*rest) return false;
      }
    }
    if (!*n) return false;
    if (*p != '?' && ascii::Lower(*p) != ascii::Lower(*n)) return false;
    ++n;
  }
  return *n == '\0';
}

std::uint32_t AttributesOf(const std::string& path, const std::string& name) {
  std::uint32_t attributes = 0;
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    attributes |= kAttributeDirectory;
  } else {
    attributes |= kAttributeArchive;
  }
  if (name.size() > 1 && name[0] == '.' && name != "..") attributes |= kAttributeHidden;
  if (access(path.c_str(), W_OK) != 0) attributes |= kAttributeReadOnly;
  return attributes;
}

FileSearch* OpenSearch(const char* pattern) {
  std::string path = codepage::GbkToUtf8(pattern);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  auto search = new FileSearch;
  std::size_t slash = path.rfind('/');
  search->directoryPath = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  search->namePattern = codepage::Utf8ToGbk(slash == std::string::npos ? path : path.substr(slash + 1));
  search->directory = opendir(search->directoryPath.empty() ? "." : search->directoryPath.c_str());
  return search;
}

}  // namespace

bool MatchesWildcard(const char* pattern, const char* name) {
  if (std::strcmp(pattern, "*.*") == 0) return true;
  return MatchFrom(pattern, name);
}

void CloseFileSearch(std::intptr_t handle) {
  auto search = reinterpret_cast<FileSearch*>(handle);
  if (!search) return;
  if (search->directory) closedir(search->directory);
  delete search;
}

Text FindFileEntry(const char* pattern, std::uint32_t attributeMask, bool skipDotEntries, std::intptr_t* handle) {
  if (!handle) return nullptr;
  if (pattern && *pattern) {
    CloseFileSearch(*handle);
    *handle = reinterpret_cast<std::intptr_t>(OpenSearch(pattern));
  }
  auto search = reinterpret_cast<FileSearch*>(*handle);
  if (!search) return nullptr;
  while (search->directory) {
    dirent* entry = readdir(search->directory);
    if (!entry) break;
    std::string name = entry->d_name;
    if (skipDotEntries && (name == "." || name == "..")) continue;
    std::string gbkName = codepage::Utf8ToGbk(name);
    if (!MatchesWildcard(search->namePattern.c_str(), gbkName.c_str())) continue;
    std::uint32_t special = AttributesOf(search->directoryPath + name, name) &
                            (kAttributeDirectory | kAttributeHidden | kAttributeSystem);
    if ((special & ~attributeMask) != 0) continue;
    return NewText(gbkName.data(), gbkName.size());
  }
  CloseFileSearch(*handle);
  *handle = 0;
  return nullptr;
}

}  // namespace runtime
