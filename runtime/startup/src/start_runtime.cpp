// StartRuntime: the runtime set up from the program's ProgramInfoBlock, step by step.
#include <span>
#include <string>

#include "kernel/modules.h"
#include "kernel/process.h"
#include "oleaut/ole32.h"
#include "runtime/frame.h"
#include "runtime/program_info.h"
#include "runtime/startup/start.h"
#include "runtime/windows/window_layer.h"
#include "runtime/windows/window_table.h"

namespace runtime {
namespace {

bool oleInitialised = false;

// The module file name in a buffer of 260 bytes, as Windows programs size it, or a larger
// one when the name does not fit (a deep Linux path): a cut name would be a wrong directory.
std::string ModuleFileName() {
  for (DWORD size = 260; size <= 32768; size *= 2) {
    std::string name(size, '\0');
    DWORD length = GetModuleFileNameA(nullptr, name.data(), size);
    if (length + 1 < size) {
      name.resize(length);
      return name;
    }
  }
  return {};
}

}  // namespace

std::intptr_t StartRuntime(const void* block) {
  const auto& info = *static_cast<const ProgramInfoBlock*>(block);

  // 1. The runtime heap is the process heap: the frame's memory blocks take it on first use.
  // 2. Mode and version.
  SetProgramVersion(info.mode, info.version + 1);
  // 3. OLE for this thread, once, with the system's modules and classes that it brings.
  RegisterSystemServices();
  if (!oleInitialised) {
    OleInitialize(nullptr);
    oleInitialised = true;
  }
  // 4. The program's directory and file name; the directory becomes the current one.
  SetProgramPath(ModuleFileName().c_str());
  if (*ProgramDirectory()) SetCurrentDirectoryA(ProgramDirectory());
  // 5. The hidden service window (it takes the exit requests of other threads).
  CreateServiceWindow();
  // 6. The main thread.
  RecordMainThread();
  // 7. The program's constant data.
  if (info.constantsSize > 0) RegisterConstantRange(info.constantsStart, static_cast<std::size_t>(info.constantsSize));
  // 8. The declared DLL commands, resolved on first use.
  SetDllCommandTable(info.dllCommandCount, info.dllLibraryNames, info.dllEntryNames);
  // 9. The support libraries, each told that the runtime has started.
  AttachLibraries(info.libraryTable, info.libraryCount);
  // 10 to 12. The window templates, their handlers relocated, into the window table.
  WindowEntries windows;
  if (info.templatesSize > 0) {
    windows = DeserialiseTemplates(std::span(static_cast<const std::uint8_t*>(info.templatesStart),
                                             static_cast<std::size_t>(info.templatesSize)));
  }
  std::span<const EventHandler> procedures;
  if (info.codeBase && info.procedureCount > 0) {
    procedures = std::span(info.codeBase, static_cast<std::size_t>(info.procedureCount));
  }
  RelocateHandlers(windows, procedures);
  InstallTemplates(std::move(windows));
  return 1;
}

}  // namespace runtime
