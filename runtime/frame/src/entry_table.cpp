// The RuntimeEntryTable: the thirteen entries through which the program reaches the runtime.
#include "context.h"
#include "runtime/messages.h"

namespace runtime {

std::intptr_t RuntimeService(std::int32_t operation, std::intptr_t a1, std::intptr_t a2, std::intptr_t a3,
                             std::intptr_t a4);

namespace {

// The dispatchers: a zeroed result, one call, the result's three words back.
CommandResult CallLibraryCommandEntry(Command command, std::int32_t /*library*/, std::int32_t argc,
                                      CommandArg* args) {
  CommandResult result{0, 0, 0};
  command(&result, argc, args);
  return result;
}

CommandResult CallCoreCommandEntry(Command command, std::int32_t argc, CommandArg* args) {
  CommandResult result{0, 0, 0};
  command(&result, argc, args);
  return result;
}

std::uint64_t ReadPropertyEntry(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property,
                                std::int32_t index) {
  const WindowLayer* layer = CurrentWindowLayer();
  if (!layer || !layer->readProperty) RaiseRuntimeError(messages::kWindowNotInTable);
  return layer->readProperty(windowId, unitId, property, index);
}

void WritePropertyEntry(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property, std::int32_t index,
                        std::uint32_t valueLow, std::uint32_t valueHigh) {
  const WindowLayer* layer = CurrentWindowLayer();
  if (!layer || !layer->writeProperty) RaiseRuntimeError(messages::kWindowNotInTable);
  layer->writeProperty(windowId, unitId, property, index, valueLow, valueHigh);
}

void RunMessageLoopEntry() {
  // Without the window layer there is no window, so the loop ends at once.
  const WindowLayer* layer = CurrentWindowLayer();
  if (layer && layer->runMessageLoop) layer->runMessageLoop();
}

void LoadStartupWindowEntry(std::uint32_t windowId) {
  const WindowLayer* layer = CurrentWindowLayer();
  if (!layer || !layer->loadStartupWindow) RaiseRuntimeError(messages::kStartupWindowFailed);
  layer->loadStartupWindow(windowId);
}

void ReportRuntimeErrorEntry(std::int32_t errorNumber) { ReportRuntimeError(errorNumber); }
void ExitProgramEntry(std::int32_t exitCode) { ExitProgram(exitCode); }

constexpr RuntimeEntryTable kEntryTable = {
    ReportRuntimeErrorEntry,  // 0
    CallDllCommand,           // 1
    CallLibraryCommandEntry,  // 2
    CallCoreCommandEntry,     // 3
    ReadPropertyEntry,        // 4
    WritePropertyEntry,       // 5
    AllocBlock,               // 6
    ResizeBlock,              // 7
    FreeBlock,                // 8
    ExitProgramEntry,         // 9
    RunMessageLoopEntry,      // 10
    LoadStartupWindowEntry,   // 11
    RuntimeService,           // 12
};

}  // namespace

const RuntimeEntryTable& EntryTable() { return kEntryTable; }

}  // namespace runtime
