// The program's one way into the runtime: thirteen entries in slot order.
#pragma once

#include <cstdint>

#include "runtime/values.h"
#include "win/types.h"

namespace runtime {

// A resolved DLL command: its address and the argument bytes that the function removes
// (-1 when the module records none: the C convention, the caller removes them).
struct DllCall {
  FARPROC address;
  std::int32_t argumentBytes;
};

struct RuntimeEntryTable {
  void (*ReportRuntimeError)(std::int32_t errorNumber);                         // 0, does not return
  DllCall (*CallDllCommand)(std::int32_t index);                                // 1
  CommandResult (*CallLibraryCommand)(Command command, std::int32_t library,    // 2
                                      std::int32_t argc, CommandArg* args);
  CommandResult (*CallCoreCommand)(Command command, std::int32_t argc,          // 3
                                   CommandArg* args);
  std::uint64_t (*ReadProperty)(std::uint32_t windowId, std::uint32_t unitId,   // 4
                                std::int32_t property, std::int32_t index);
  void (*WriteProperty)(std::uint32_t windowId, std::uint32_t unitId,           // 5
                        std::int32_t property, std::int32_t index,
                        std::uint32_t valueLow, std::uint32_t valueHigh);
  void* (*AllocBlock)(std::int32_t bytes);                                       // 6
  void* (*ResizeBlock)(void* block, std::int32_t bytes);                        // 7
  void (*FreeBlock)(void* block);                                               // 8
  void (*ExitProgram)(std::int32_t exitCode);                                   // 9, does not return
  void (*RunMessageLoop)();                                                     // 10
  void (*LoadStartupWindow)(std::uint32_t windowId);                            // 11
  std::intptr_t (*RuntimeService)(std::int32_t operation, std::intptr_t a1,     // 12
                                  std::intptr_t a2, std::intptr_t a3, std::intptr_t a4);
};

namespace service {
inline constexpr std::int32_t FindFileEntry = 0;
inline constexpr std::int32_t CloseFileSearch = 1;
inline constexpr std::int32_t MakeArrayWritable = 2;
inline constexpr std::int32_t SetExitHook = 3;
inline constexpr std::int32_t ReadObjectProperty = 4;
inline constexpr std::int32_t WriteObjectProperty = 5;
inline constexpr std::int32_t StartRuntime = 6;
}  // namespace service

// The runtime's table (filled by the runtime library).
const RuntimeEntryTable& EntryTable();

}  // namespace runtime
