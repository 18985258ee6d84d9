// RuntimeService: the numbered operations of entry 12.
#include <cstring>

#include "context.h"
#include "file_search.h"

namespace runtime {
namespace {

// Copies an array that lies in constant data into a new heap block, so that it can be changed.
void MakeArrayWritable(std::int32_t elementSize, void** array) {
  if (!array || !*array || !InConstantRange(*array)) return;
  void* constant = *array;
  std::int64_t bytes = ArrayHeaderSize(constant) + ArrayCount(constant) * elementSize;
  if (bytes < 0 || bytes > INT32_MAX) bytes = -1;  // refused by the heap: the allocation error
  void* copy = AllocBlock(static_cast<std::int32_t>(bytes));
  std::memcpy(copy, constant, static_cast<std::size_t>(bytes));
  *array = copy;
}

std::intptr_t ObjectProperty(std::int32_t code, TypeWord type, void* object, std::int32_t property,
                             CommandArg* value) {
  if (ClassifyType(type) != TypeClass::LibraryDefined) return 0;
  const LibraryInfo* library = Library(LibraryOfType(type) - 1);
  if (!library || !library->notify) return 0;
  ObjectPropertyRequest request{type, object, property, value};
  return library->notify(code, reinterpret_cast<std::intptr_t>(&request), 0);
}

}  // namespace

std::intptr_t RuntimeService(std::int32_t operation, std::intptr_t a1, std::intptr_t a2, std::intptr_t a3,
                             std::intptr_t a4) {
  switch (operation) {
    case service::FindFileEntry:
      return reinterpret_cast<std::intptr_t>(FindFileEntry(reinterpret_cast<const char*>(a1),
                                                           static_cast<std::uint32_t>(a2), a3 != 0,
                                                           reinterpret_cast<std::intptr_t*>(a4)));
    case service::CloseFileSearch: CloseFileSearch(a1); return 0;
    case service::MakeArrayWritable:
      MakeArrayWritable(static_cast<std::int32_t>(a1), reinterpret_cast<void**>(a2));
      return 0;
    case service::SetExitHook: SetExitHook(reinterpret_cast<ExitHookFunction>(a1)); return 0;
    case service::ReadObjectProperty:
      return ObjectProperty(library_notify::ReadObjectProperty, static_cast<TypeWord>(a1),
                            reinterpret_cast<void*>(a2), static_cast<std::int32_t>(a3),
                            reinterpret_cast<CommandArg*>(a4));
    case service::WriteObjectProperty:
      return ObjectProperty(library_notify::WriteObjectProperty, static_cast<TypeWord>(a1),
                            reinterpret_cast<void*>(a2), static_cast<std::int32_t>(a3),
                            reinterpret_cast<CommandArg*>(a4));
    case service::StartRuntime: {
      StartRuntimeRoutine start = Context().startRoutine;
      return start ? start(reinterpret_cast<const void*>(a1)) : 0;
    }
    default: return 0;
  }
}

}  // namespace runtime
