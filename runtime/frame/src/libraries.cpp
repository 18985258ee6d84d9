// The support libraries of the program, notified at start-up and at exit.
#include "context.h"

namespace runtime {

void AttachLibraries(const LibraryInfo* const* libraries, std::int32_t count) {
  RuntimeContext& context = Context();
  context.libraries.assign(libraries, libraries + (count > 0 ? count : 0));
  context.libraryData.assign(context.libraries.size(), 0);
  for (const LibraryInfo* library : context.libraries) {
    if (library->notify) library->notify(library_notify::Start, reinterpret_cast<std::intptr_t>(&RuntimeNotify), 0);
  }
}

std::int32_t LibraryCount() { return static_cast<std::int32_t>(Context().libraries.size()); }

const LibraryInfo* Library(std::int32_t index) {
  const auto& libraries = Context().libraries;
  return index >= 0 && static_cast<std::size_t>(index) < libraries.size() ? libraries[index] : nullptr;
}

std::intptr_t* LibraryDataWord(std::int32_t index) {
  auto& data = Context().libraryData;
  return index >= 0 && static_cast<std::size_t>(index) < data.size() ? &data[index] : nullptr;
}

}  // namespace runtime
