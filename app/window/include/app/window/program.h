// Panlift itself: MainWindow's three handlers, the program's block for start-up and its
// entry procedure.
#pragma once

#include <cstdint>

#include "runtime/program_info.h"

namespace app {

// The procedure table, in the order the window template names them.
runtime::HandlerResult OnResolveClicked(const std::int32_t* args, std::int32_t argc);
runtime::HandlerResult OnAddressBoxLeftDown(const std::int32_t* args, std::int32_t argc);
runtime::HandlerResult OnMainWindowCreated(const std::int32_t* args, std::int32_t argc);

// The program's ProgramInfoBlock, with its own procedure table.
const runtime::ProgramInfoBlock& ProgramBlock();

// Start-up as the entry procedure does it, up to the loaded start-up window: StartRuntime,
// the exit hook, the (empty) global initialisation, LoadStartupWindow(MainWindow).
void StartProgram();
// The entry procedure: StartProgram, then RunMessageLoop; 0 when the loop ends.
std::int32_t EntryProcedure();

}  // namespace app
