// panlift: the program, started by the framework's run step.
#include "app/window/program.h"
#include "runtime/startup/start.h"

int main() { runtime::RunProgram(app::EntryProcedure); }
