// What a program hands the runtime at start-up: its ProgramInfoBlock, and the shape of its
// event-handler procedures.
#pragma once

#include <cstdint>

#include "runtime/library.h"

namespace runtime {

// A handler's answer: the value it returned and whether it returned one at all (a handler
// that declares no result never swallows the event that raised it).
struct HandlerResult {
  std::int32_t value;
  std::int32_t returnedValue;  // non-zero: value holds a returned value
};
using EventHandler = HandlerResult (*)(const std::int32_t* args, std::int32_t argc);

// The program's procedures form one table, named as the code base: a handler offset in a
// window template is a byte offset into it (offset 0 is the first procedure).
struct ProgramInfoBlock {
  std::int32_t mode;
  std::int32_t reserved;
  std::int32_t version;
  const EventHandler* codeBase;
  const void* constantsStart;
  std::int32_t constantsSize;
  const void* templatesStart;
  std::int32_t templatesSize;
  std::int32_t libraryCount;
  const LibraryInfo* const* libraryTable;  // core library first
  std::int32_t dllCommandCount;
  const char* const* dllLibraryNames;
  const char* const* dllEntryNames;
  // The number of procedures in the code base's table: a handler offset must name one of
  // them (the table has no end mark of its own).
  std::int32_t procedureCount;
};

}  // namespace runtime
