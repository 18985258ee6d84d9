// The runtime started once per fuzzing process from the program's own block, as the
// program's tests start it (offscreen, procedures that do nothing), with MainWindow live.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz {

struct ProgramRuntimeOptions {
  bool memoryNetwork = false;      // "wininet.dll" answers from memory (memory_wininet.h)
  std::int32_t scriptTimeoutMs = 100;  // each ScriptControl's Timeout
};

void StartProgramRuntime(const ProgramRuntimeOptions& options);

// Whether the bytes are characters of code page 936 throughout.
bool IsValidGbk(std::string_view bytes);

// The contents of the five output boxes (GBK).
struct OutputBoxes {
  std::string name, extension, size, md5, address;
};
OutputBoxes ReadOutputBoxes();
void ClearOutputBoxes();

}  // namespace fuzz
