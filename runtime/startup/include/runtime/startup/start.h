// A program's start: the application framework's run step, which calls the program's
// entry routine, and StartRuntime (RuntimeService operation 6), which the entry routine
// calls first with its ProgramInfoBlock.
#pragma once

#include <cstdint>

namespace runtime {

// Sets the runtime up from the program's ProgramInfoBlock; 1 when done. Every failure is
// fatal (a damaged template block: "载入窗口模板数据段出错!").
std::intptr_t StartRuntime(const void* programInfoBlock);

// The system's own modules ("ole32.dll", "wininet.dll") and automation classes
// ("Adodb.Stream", "ScriptControl"), registered once; later calls do nothing. StartRuntime
// does this with OLE's initialisation.
void RegisterSystemServices();

// Gives the frame the routines that start-up and the window layer bring (RuntimeService
// operation 6, the window layer). RunProgram does this first.
void InstallRuntimeParts();

using EntryRoutine = std::int32_t (*)();
// The run step: the application object, the runtime's parts, then the entry routine; the
// process ends in order (ExitProgram) with the routine's answer.
[[noreturn]] void RunProgram(EntryRoutine entry);

}  // namespace runtime
