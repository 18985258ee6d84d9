#include "app/base/program_block.h"

#include "app/base/dll_commands.h"
#include "app/base/libraries.h"
#include "app/forms/main_window_template.h"
#include "app/program_texts.h"

namespace app {

runtime::ProgramInfoBlock MakeProgramBlock(const runtime::EventHandler* procedures, std::int32_t procedureCount) {
  runtime::ProgramInfoBlock info{};
  info.mode = 3;  // a release build
  info.version = 65994;  // the runtime keeps it plus one
  info.codeBase = procedures;
  info.procedureCount = procedureCount;
  info.constantsStart = &kTexts;
  info.constantsSize = static_cast<std::int32_t>(sizeof kTexts);
  info.templatesStart = forms::kMainWindowTemplate;
  info.templatesSize = static_cast<std::int32_t>(forms::kMainWindowTemplateSize);
  info.libraryCount = kLibraryCount;
  info.libraryTable = LibraryTable();
  info.dllCommandCount = kDllCommandCount;
  info.dllLibraryNames = kDllLibraryNames;
  info.dllEntryNames = kDllEntryNames;
  return info;
}

}  // namespace app
