// The runtime frame as the other parts of the runtime use it: memory blocks, the one
// runtime-error routine, the orderly exit, the object registry, DLL commands, libraries
// and the hooks through which the window layer joins in.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/entry_table.h"
#include "runtime/library.h"
#include "runtime/values.h"

namespace runtime {

// ---- Memory blocks (the runtime heap) ----
// Never null: a refused request is the fatal error "分配 %d 字节内存失败!".
void* AllocBlock(std::int32_t bytes);
// Null when the heap refuses.
void* TryAllocBlock(std::int32_t bytes);
// Null behaves as AllocBlock; a block inside a ConstantRange is copied into a new block.
void* ResizeBlock(void* block, std::int32_t bytes);
// Nothing for null and for blocks inside a ConstantRange.
void FreeBlock(void* block);
// Registers [start, start + size) as constant data: never freed or resized in place.
void RegisterConstantRange(const void* start, std::size_t size);
bool InConstantRange(const void* p);

// New blocks for values; each returns null for an empty value, as every routine that
// makes a text or byte set does.
Text NewText(const char* bytes, std::size_t length);
inline Text NewText(const char* nulTerminated) {
  return nulTerminated ? NewText(nulTerminated, std::strlen(nulTerminated)) : nullptr;
}
void* NewByteSet(const void* bytes, std::size_t length);
// A one-dimensional RuntimeArray {1, count, elements} with the elements zeroed (never null).
void* NewArray1(std::int32_t count, std::int32_t elementSize);

// ---- Fatal errors and the exit ----
// The numbered errors 1 to 11, with their messages.
[[noreturn]] void ReportRuntimeError(std::int32_t errorNumber);
// The one runtime-error routine: message (GBK, may be empty) and number (0: message only).
[[noreturn]] void RaiseRuntimeError(const char* message, std::int32_t errorNumber = 0);
[[noreturn]] void ExitProgram(std::int32_t exitCode);

// A non-zero answer suppresses the message box.
using ErrorHookFunction = std::int32_t (*)(std::int32_t errorNumber, const char* message);
void SetErrorHook(ErrorHookFunction hook);
using ExitHookFunction = void (*)();
void SetExitHook(ExitHookFunction hook);

// Above 0 while an error or an exit is in progress: no event reaches the program then.
std::int32_t ErrorExitNesting();

// ---- The ObjectRegistry ----
std::int32_t ObjectKind(const void* object);  // -1 when not registered
void RegisterObject(const void* object, std::int32_t kind);
bool UnregisterObject(const void* object);

// ---- RuntimeNotify: the services that support libraries call ----
std::intptr_t RuntimeNotify(std::int32_t code, std::intptr_t p1, std::intptr_t p2);
// Handles every message already waiting; stops at a pending quit, which stays pending.
void HandleWaitingMessages();

// ---- The program (start-up) ----
// Build mode and version as start-up keeps them (the version one above the block's).
void SetProgramVersion(std::int32_t mode, std::int32_t version);
std::int32_t ProgramMode();
std::int32_t ProgramVersion();
// Splits a module file name at its last "\" into directory and file name.
void SetProgramPath(const char* moduleFileName);
const char* ProgramDirectory();  // without the trailing "\"
const char* ProgramFileName();

// ---- Threads and the service window ----
void RecordMainThread();
bool OnMainThread();
// The hidden window that takes the exit request of other threads (needs the application).
void CreateServiceWindow();

// ---- DLL commands ----
void SetDllCommandTable(std::int32_t count, const char* const* libraryNames,
                        const char* const* entryNames);
// Resolves index to its function, once; failure is fatal.
DllCall CallDllCommand(std::int32_t index);

// ---- Support libraries ----
// Keeps the list, one zeroed data word each, and sends code 1 with RuntimeNotify.
void AttachLibraries(const LibraryInfo* const* libraries, std::int32_t count);
std::int32_t LibraryCount();
const LibraryInfo* Library(std::int32_t index);  // 0-based; the core library first
std::intptr_t* LibraryDataWord(std::int32_t index);

// ---- Idle callbacks ----
using IdleRoutine = void (*)(void* parameter);
void AddIdleCallback(void* window, IdleRoutine routine, void* parameter);
// Calls each from the last to the first, dropping those whose window no longer exists.
void RunIdleCallbacks(bool (*windowExists)(void* window));
void DropIdleCallbacks();

// ---- What the window layer adds ----
// The frame knows no windows: the window layer installs these at start-up. Without it,
// property access finds no window, the loop has nothing to run and no event is delivered.
struct WindowLayer {
  std::intptr_t (*raiseEvent)(EventRecord* event);  // RuntimeNotify 2008
  void (*destroyAllWindows)();                      // at exit
  std::uint64_t (*readProperty)(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property,
                                std::int32_t index);
  void (*writeProperty)(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property,
                        std::int32_t index, std::uint32_t valueLow, std::uint32_t valueHigh);
  void (*runMessageLoop)();
  void (*loadStartupWindow)(std::uint32_t windowId);
};
void SetWindowLayer(const WindowLayer* layer);
const WindowLayer* CurrentWindowLayer();

// RuntimeService operation 6 belongs to start-up, which installs its routine here.
using StartRuntimeRoutine = std::intptr_t (*)(const void* programInfoBlock);
void SetStartRuntimeRoutine(StartRuntimeRoutine routine);

// The unit whose event is being handled (RuntimeNotify 2017).
void SetEventSource(std::uint32_t windowId, std::uint32_t unitId);
void ClearEventSource();

}  // namespace runtime
