// The program's tests run in a started runtime, as the program's entry procedure leaves it
// before the message loop: the application object, the runtime's parts, StartRuntime with
// the program's block around procedures that do nothing.
#include <gtest/gtest.h>

#include "app/base/program_block.h"
#include "runtime/startup/start.h"
#include "ui/application.h"

namespace {

runtime::HandlerResult Nothing(const std::int32_t*, std::int32_t) { return {0, 0}; }
// OnResolveClicked, OnAddressBoxLeftDown, OnMainWindowCreated: the template names three.
const runtime::EventHandler kProcedures[] = {Nothing, Nothing, Nothing};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  ui::EnsureApplication();
  runtime::InstallRuntimeParts();
  static const runtime::ProgramInfoBlock block = app::MakeProgramBlock(kProcedures, 3);
  runtime::StartRuntime(&block);
  return RUN_ALL_TESTS();
}
