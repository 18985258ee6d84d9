// The ProgramInfoBlock that start-up reads: the procedure table, the constant data, the
// window templates, the library table and the DLL command table.
#pragma once

#include <cstdint>

#include "runtime/program_info.h"

namespace app {

// The block around a procedure table: the program's own (app/window) or a test's, whose
// order must match the handlers that MainWindow's template names.
runtime::ProgramInfoBlock MakeProgramBlock(const runtime::EventHandler* procedures, std::int32_t procedureCount);

}  // namespace app
