// A small program for start-up's tests: its ProgramInfoBlock, procedures, constant data,
// one window with a button and an edit box, a support library and two DLL commands.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/program_info.h"

namespace fakeprogram {

constexpr std::uint32_t kWindow = 0x52010001;
constexpr std::uint32_t kButton = 0x16010003;
constexpr std::uint32_t kEdit = 0x16010070;

// What the procedures do, set by each test.
extern runtime::HandlerResult (*onCreated)();
extern runtime::HandlerResult (*onClicked)();

extern const char kConstants[64];
extern int libraryStarts;            // code 1 received by the library
extern std::intptr_t libraryNotify;  // what it received as the RuntimeNotify function
// At exit the library writes "library shut down" to standard error.

// A block with the templates (empty: none) and the program's tables.
runtime::ProgramInfoBlock Info(bool withTemplates = true);
// The template block's bytes (lives for the whole run).
const std::string& TemplateBytes();
// Registers "fake.dll" with its export "Answer" (returns 42); "Missing" is not there.
void RegisterFakeDll();

}  // namespace fakeprogram
