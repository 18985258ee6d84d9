#include "file_numbers.h"

#include <limits>
#include <unordered_map>

#include "runtime/library.h"
#include "runtime/frame.h"

namespace runtime::core {
namespace {

struct FileTable {
  std::unordered_map<std::int32_t, std::unique_ptr<MemoryFile>> files;
  std::int32_t lastNumber = 0;
};

// Files still open at exit are destroyed with the table.
FileTable& Table() {
  static FileTable table;
  return table;
}

std::int32_t NextFreeNumber(FileTable& table) {
  do {
    table.lastNumber = table.lastNumber == std::numeric_limits<std::int32_t>::max() ? 1 : table.lastNumber + 1;
  } while (table.files.count(table.lastNumber) != 0);
  return table.lastNumber;
}

}  // namespace

std::int32_t OpenFileNumber(std::unique_ptr<MemoryFile> file) {
  FileTable& table = Table();
  const std::int32_t number = NextFreeNumber(table);
  // A stale entry of another kind at this address (an object freed without leaving the
  // registry) must not make the new file look closed.
  if (ObjectKind(file.get()) != object_kind::MemoryFile) UnregisterObject(file.get());
  RegisterObject(file.get(), object_kind::MemoryFile);
  table.files.emplace(number, std::move(file));
  return number;
}

MemoryFile* FindOpenFile(std::int32_t number) {
  FileTable& table = Table();
  const auto found = table.files.find(number);
  if (found == table.files.end()) return nullptr;
  MemoryFile* file = found->second.get();
  if (ObjectKind(file) == object_kind::MemoryFile) return file;
  // Taken out of the registry behind our back: the file is gone for good.
  table.files.erase(found);
  return nullptr;
}

bool CloseFileNumber(std::int32_t number) {
  if (!FindOpenFile(number)) return false;
  FileTable& table = Table();
  const auto found = table.files.find(number);
  UnregisterObject(found->second.get());
  table.files.erase(found);
  return true;
}

std::size_t OpenFileCount() { return Table().files.size(); }

}  // namespace runtime::core
