#include "fake_program.h"

#include <cstdio>
#include <iterator>

#include "kernel/modules.h"
#include "runtime/windows/template_format.h"
#include "runtime/windows/type_data.h"

namespace fakeprogram {
namespace {

runtime::HandlerResult Clicked(const std::int32_t*, std::int32_t) { return onClicked ? onClicked() : runtime::HandlerResult{}; }
runtime::HandlerResult Created(const std::int32_t*, std::int32_t) { return onCreated ? onCreated() : runtime::HandlerResult{}; }

const runtime::EventHandler kProcedures[] = {Clicked, Created};
constexpr std::int32_t kProcedure = sizeof(runtime::EventHandler);

std::intptr_t LibraryNotify(std::int32_t code, std::intptr_t p1, std::intptr_t) {
  if (code == runtime::library_notify::Start) {
    ++libraryStarts;
    libraryNotify = p1;
  }
  if (code == runtime::library_notify::Shutdown) std::fprintf(stderr, "library shut down\n");
  return 0;
}

const runtime::LibraryInfo kLibrary{runtime::LibraryInfoFormat, "{fake}", 1, "fake", 0, nullptr, 0, nullptr, LibraryNotify};
const runtime::LibraryInfo kQuietLibrary{runtime::LibraryInfoFormat, "{quiet}", 1, "quiet", 0, nullptr, 0, nullptr, nullptr};
const runtime::LibraryInfo* const kLibraries[] = {&kLibrary, &kQuietLibrary};

const char* const kDllLibraries[] = {"fake.dll", "fake.dll"};
const char* const kDllEntries[] = {"Answer", "Missing"};

int Answer() { return 42; }

runtime::UnitRecord Unit(std::uint32_t id, std::uint32_t type, std::vector<runtime::EventBinding> events) {
  runtime::UnitRecord unit;
  unit.id = id;
  unit.typeWord = type;
  unit.width = 100;
  unit.height = 24;
  unit.flags = {0, 5, 0};
  unit.events = std::move(events);
  return unit;
}

}  // namespace

runtime::HandlerResult (*onCreated)() = nullptr;
runtime::HandlerResult (*onClicked)() = nullptr;
const char kConstants[64] = "the program's literal texts";
int libraryStarts = 0;
std::intptr_t libraryNotify = 0;

const std::string& TemplateBytes() {
  static const std::string bytes = [] {
    runtime::TemplateBlock block;
    runtime::WindowTemplate form;
    form.units = {Unit(0x06010000, runtime::unit_type::Window, {{0, 1 * kProcedure}}),
                  Unit(kButton, runtime::unit_type::Button, {{0, 0}}),
                  Unit(kEdit, runtime::unit_type::EditBox, {})};
    form.units[0].width = 300;
    form.units[0].height = 200;
    form.units[0].flags[1] = 1;
    block.windows.push_back({kWindow, form});
    std::vector<std::uint8_t> written = runtime::WriteTemplateBlock(block);
    return std::string(written.begin(), written.end());
  }();
  return bytes;
}

runtime::ProgramInfoBlock Info(bool withTemplates) {
  runtime::ProgramInfoBlock info{};
  info.mode = 3;
  info.version = 65994;
  info.codeBase = kProcedures;
  info.procedureCount = static_cast<std::int32_t>(std::size(kProcedures));
  info.constantsStart = kConstants;
  info.constantsSize = sizeof kConstants;
  info.templatesStart = withTemplates ? TemplateBytes().data() : nullptr;
  info.templatesSize = withTemplates ? static_cast<std::int32_t>(TemplateBytes().size()) : 0;
  info.libraryCount = 2;
  info.libraryTable = kLibraries;
  info.dllCommandCount = 2;
  info.dllLibraryNames = kDllLibraries;
  info.dllEntryNames = kDllEntries;
  return info;
}

void RegisterFakeDll() {
  const BuiltinExport exports[] = {{"Answer", 1, 0, reinterpret_cast<FARPROC>(Answer)}};
  RegisterBuiltinModule("fake.dll", exports);
}

}  // namespace fakeprogram
