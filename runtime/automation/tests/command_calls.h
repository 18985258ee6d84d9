// Calling automation commands as the program does: through the core-command dispatcher,
// with argument records, and with the variables that by-reference arguments point to.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "oleaut/ole32.h"
#include "runtime/automation.h"
#include "runtime/entry_table.h"
#include "runtime/frame.h"

namespace automation_test {

using runtime::CommandArg;
using runtime::CommandResult;

inline CommandResult Invoke(runtime::Command command, std::vector<CommandArg> args) {
  return runtime::EntryTable().CallCoreCommand(command, static_cast<std::int32_t>(args.size()), args.data());
}

inline CommandArg Object(void* record) { return runtime::PointerArg(record, runtime::types::ComObject); }
inline CommandArg VariantArg(void* block) { return runtime::PointerArg(block, runtime::types::Variant); }
template <typename T>
CommandArg ByReference(T* variable, runtime::TypeWord type) {
  return runtime::PointerArg(variable, runtime::ArrayOf(type));
}

// The text a command returned, freed; "<null>" for the empty text.
inline std::string TakeText(const CommandResult& result) {
  auto* text = static_cast<char*>(runtime::ArgPointer(result));
  std::string value = text ? text : "<null>";
  runtime::FreeBlock(text);
  return value;
}

// Every test runs with COM initialised on its thread, and with a fresh ComObject record.
class AutomationTest : public testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    object_ = runtime::NewComObjectRecord();
  }
  void TearDown() override {
    runtime::FreeComObjectRecord(object_);
    CoUninitialize();
  }
  void* object_ = nullptr;
};

}  // namespace automation_test
