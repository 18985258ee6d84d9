// What a support library and the runtime know of each other: the library's constant
// LibraryInfo record, its LibraryNotify entry, and the runtime's RuntimeNotify services.
#pragma once

#include <cstdint>

#include "runtime/values.h"

namespace runtime {

// The runtime's one notification function, handed to each library at start-up.
using RuntimeNotifyFunction = std::intptr_t (*)(std::int32_t code, std::intptr_t p1, std::intptr_t p2);
// Each library's entry for the runtime's notifications.
using LibraryNotifyFunction = std::intptr_t (*)(std::int32_t code, std::intptr_t p1, std::intptr_t p2);

namespace notify {
inline constexpr std::int32_t ToInteger = 2001;         // p1: const CommandArg*; a non-numeric type is fatal
inline constexpr std::int32_t ProgramDirectory = 2003;  // -> const char* (the runtime's, not to be freed)
inline constexpr std::int32_t ProgramFileName = 2004;   // -> const char* (the runtime's, not to be freed)
inline constexpr std::int32_t RaiseEvent = 2008;        // p1: EventRecord*; 1 when a handler ran
inline constexpr std::int32_t ObjectKind = 2011;        // p1: object -> kind byte, or -1
inline constexpr std::int32_t RegisterObject = 2012;    // p1: object, p2: kind byte
inline constexpr std::int32_t UnregisterObject = 2013;  // p1: object -> 1 if it was there
inline constexpr std::int32_t EventSource = 2017;       // -> window id | unit id << 32, 0 if none
inline constexpr std::int32_t HandleWaitingMessages = 2018;
inline constexpr std::int32_t Allocate = 2024;          // p1: bytes, p2: non-zero = null instead of error
inline constexpr std::int32_t Free = 2025;              // p1: block
inline constexpr std::int32_t Resize = 2026;            // p1: block, p2: bytes
inline constexpr std::int32_t RaiseError = 2027;        // p1: const char* message (GBK)
inline constexpr std::int32_t Exit = 2028;              // p1: exit code
}  // namespace notify

namespace library_notify {
inline constexpr std::int32_t Start = 1;     // p1: the RuntimeNotifyFunction
inline constexpr std::int32_t Shutdown = 6;  // p1: the library's data word
// Property access on a value of one of the library's data types (p1: ObjectPropertyRequest*);
// answer 1 when handled. A library without properties answers 0.
inline constexpr std::int32_t ReadObjectProperty = 101;
inline constexpr std::int32_t WriteObjectProperty = 102;
}  // namespace library_notify

struct ObjectPropertyRequest {
  TypeWord type;         // the library-defined type of the value
  void* object;          // the variable block
  std::int32_t property;
  CommandArg* value;     // read: receives the value; write: the value to store
};

// Kind bytes of objects in the ObjectRegistry.
namespace object_kind {
inline constexpr std::int32_t MemoryFile = 2;
}

// An event raised through notify::RaiseEvent.
struct EventRecord {
  std::uint32_t windowId;
  std::uint32_t unitId;
  std::int32_t eventNumber;
  std::int32_t argumentCount;
  std::int32_t arguments[5];
  std::int32_t returnedValueFlag;  // set by delivery: the handler returned a value
  std::int32_t returnedValue;
};

// A data type that a library defines. Construction and destruction are commands of the
// library's table (indexes, -1 for none); they receive the variable block's address.
struct LibraryDataType {
  std::uint16_t number;         // type number within the library (from 1)
  const char* name;             // GBK
  std::int32_t blockSize;       // bytes of a variable of the type
  std::int32_t constructCommand;
  std::int32_t destructCommand;
};

inline constexpr std::int32_t LibraryInfoFormat = 20000101;

struct LibraryInfo {
  std::int32_t format;  // LibraryInfoFormat
  const char* guid;
  std::int32_t version;
  const char* name;  // GBK
  std::int32_t typeCount;
  const LibraryDataType* types;
  std::int32_t commandCount;
  const Command* commands;
  LibraryNotifyFunction notify;  // may be null
};

}  // namespace runtime
