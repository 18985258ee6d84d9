#include "handles.h"

#include <cstdint>
#include <map>

namespace wininet {
namespace {

std::mutex& Lock() {
  static std::mutex mutex;
  return mutex;
}

struct Table {
  std::map<HINTERNET, std::shared_ptr<InternetObject>> objects;
  std::uintptr_t next = 0x1000;
};

Table& TheTable() {
  static Table table;
  return table;
}

bool Descends(const InternetObject* object, const InternetObject* ancestor) {
  for (; object; object = object->parent.get()) {
    if (object == ancestor) return true;
  }
  return false;
}

}  // namespace

std::unique_lock<std::mutex> LockHandles() { return std::unique_lock(Lock()); }

HandleOptions& ProcessOptions() {
  static HandleOptions options;
  return options;
}

HINTERNET AddHandle(std::shared_ptr<InternetObject> object) {
  Table& table = TheTable();
  auto handle = reinterpret_cast<HINTERNET>(table.next);
  table.next += 4;
  table.objects.emplace(handle, std::move(object));
  return handle;
}

std::shared_ptr<InternetObject> FindHandle(HINTERNET handle, HandleKind kind, DWORD* error) {
  auto& objects = TheTable().objects;
  auto found = objects.find(handle);
  if (found == objects.end()) {
    *error = ERROR_INVALID_HANDLE;
    return nullptr;
  }
  if (found->second->kind != kind) {
    *error = ERROR_INTERNET_INCORRECT_HANDLE_TYPE;
    return nullptr;
  }
  return found->second;
}

std::shared_ptr<InternetObject> FindAnyHandle(HINTERNET handle) {
  auto& objects = TheTable().objects;
  auto found = objects.find(handle);
  return found == objects.end() ? nullptr : found->second;
}

std::vector<std::shared_ptr<InternetObject>> RemoveHandle(HINTERNET handle) {
  std::vector<std::shared_ptr<InternetObject>> removed;
  auto& objects = TheTable().objects;
  auto found = objects.find(handle);
  if (found == objects.end()) return removed;
  const InternetObject* root = found->second.get();
  for (auto it = objects.begin(); it != objects.end();) {
    if (Descends(it->second.get(), root)) {
      removed.push_back(std::move(it->second));
      it = objects.erase(it);
    } else {
      ++it;
    }
  }
  return removed;
}

}  // namespace wininet
