// The RuntimeContext: all of the runtime frame's state, one per process.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "runtime/frame.h"
#include "win/types.h"

namespace ui {
class ServiceWindow;
}

namespace runtime {

struct DllCommandSlot {
  const char* libraryName;
  const char* entryName;
  FARPROC address;  // resolved on first call
  HMODULE module;
  std::int32_t argumentBytes;  // recorded by the module, -1 when it records none
};

struct ConstantRangeEntry {
  std::uintptr_t start;
  std::uintptr_t end;
};

struct IdleCallbackEntry {
  void* window;
  IdleRoutine routine;
  void* parameter;
};

struct RuntimeContext {
  HANDLE heap = nullptr;
  std::int32_t mode = 0;
  std::int32_t version = 0;
  std::string programDirectory;
  std::string programFileName;
  std::atomic<DWORD> mainThreadId{0};
  std::unique_ptr<ui::ServiceWindow> serviceWindow;

  std::vector<DllCommandSlot> dllCommands;
  std::vector<const LibraryInfo*> libraries;
  std::vector<std::intptr_t> libraryData;
  std::vector<ConstantRangeEntry> constantRanges;
  std::unordered_map<const void*, std::uint8_t> objectRegistry;
  std::vector<IdleCallbackEntry> idleCallbacks;

  ErrorHookFunction errorHook = nullptr;
  bool errorHookRunning = false;
  std::atomic<std::int32_t> errorExitNesting{0};
  ExitHookFunction exitHook = nullptr;
  std::atomic<bool> exiting{false};

  std::uint32_t eventWindow = 0;
  std::uint32_t eventUnit = 0;
  const WindowLayer* windowLayer = nullptr;
  StartRuntimeRoutine startRoutine = nullptr;
};

RuntimeContext& Context();

// Message sent to the service window by ExitProgram on another thread.
inline constexpr UINT kExitRequestMessage = 33767;  // 0x83E7

}  // namespace runtime
