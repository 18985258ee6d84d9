// The program's block for start-up and its entry procedure.
#include "app/base/main_window_units.h"
#include "app/base/program_block.h"
#include "app/base/runtime_calls.h"
#include "app/window/program.h"

namespace app {
namespace {

// In the order of the template's handler offsets (byte offsets into this table).
const runtime::EventHandler kProcedures[] = {OnResolveClicked, OnAddressBoxLeftDown, OnMainWindowCreated};

// The program's exit routine: it has nothing to release.
void OnExit() {}

// The program has no global variables to initialise.
void InitialiseGlobals() {}

std::intptr_t Address(const void* p) { return reinterpret_cast<std::intptr_t>(p); }

}  // namespace

const runtime::ProgramInfoBlock& ProgramBlock() {
  static const runtime::ProgramInfoBlock block =
      MakeProgramBlock(kProcedures, static_cast<std::int32_t>(sizeof kProcedures / sizeof kProcedures[0]));
  return block;
}

void StartProgram() {
  Runtime().RuntimeService(runtime::service::StartRuntime, Address(&ProgramBlock()), 0, 0, 0);
  Runtime().RuntimeService(runtime::service::SetExitHook, reinterpret_cast<std::intptr_t>(&OnExit), 0, 0, 0);
  InitialiseGlobals();
  Runtime().LoadStartupWindow(MainWindow);
}

std::int32_t EntryProcedure() {
  StartProgram();
  Runtime().RunMessageLoop();
  return 0;
}

}  // namespace app
