// The same two uses as the program makes them: the ComObject and Variant commands reached
// through the core library's table and CallCoreCommand, with argument records, each call
// binding the member by name and converting texts between GBK and UTF-16.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "adodb/adodb_stream.h"
#include "oleaut/ole32.h"
#include "runtime/automation.h"
#include "runtime/core/core_library.h"
#include "runtime/entry_table.h"
#include "runtime/frame.h"
#include "script/script_control.h"

namespace {

using runtime::CommandArg;
using runtime::CommandResult;
namespace command = runtime::core::command;

CommandResult Call(std::int32_t index, std::vector<CommandArg> args) {
  return runtime::EntryTable().CallCoreCommand(runtime::core::CoreCommand(index),
                                               static_cast<std::int32_t>(args.size()), args.data());
}

CommandArg Object(void* record) { return runtime::PointerArg(record, runtime::types::ComObject); }
CommandArg VariantArg(void* block) { return runtime::PointerArg(block, runtime::types::Variant); }

void Write(void* object, const char* property, CommandArg value) {
  Call(command::ComObjectWriteProperty, {Object(object), runtime::TextArg(property), value});
}
void Method(void* object, const char* name, std::vector<CommandArg> args = {}) {
  args.insert(args.begin(), {Object(object), runtime::TextArg(name)});
  Call(command::ComObjectMethod, args);
}

// The JSON reader: a control per read, its script made from the template.
void BM_JsonReadThroughTheCommands(benchmark::State& state) {
  CoInitialize(nullptr);
  RegisterScriptControl();
  const std::string script =
      "function mapStr(){\r\nvar people = {\"errno\":0,\"errmsg\":\"\",\"data\":{\"downloadurl\":"
      "\"http://dl.example.invalid/file/abc123?sign=0f3e&t=1700000000\",\"size\":\"734003201\"}};"
      "\r\nreturn people.data.downloadurl\r\n}\r\n";
  void* engine = runtime::NewComObjectRecord();
  for (auto _ : state) {
    Call(command::ComObjectCreate, {Object(engine), runtime::TextArg("ScriptControl"), runtime::OmittedArg});
    Write(engine, "Language", runtime::TextArg("javascript"));
    Call(command::ComObjectNumberMethod,
         {Object(engine), runtime::TextArg("ExecuteStatement"), runtime::TextArg(script.c_str())});
    void* value = runtime::ArgPointer(
        Call(command::ComObjectVariantMethod, {Object(engine), runtime::TextArg("Run"), runtime::TextArg("mapStr")}));
    auto* text = static_cast<char*>(
        runtime::ArgPointer(Call(command::VariantGetText, {VariantArg(value), runtime::OmittedArg})));
    if (!text) state.SkipWithError("no value");
    benchmark::DoNotOptimize(text);
    runtime::FreeBlock(text);
    Call(command::VariantClear, {VariantArg(value)});
    runtime::FreeVariantBlock(value);
    Call(command::ComObjectClear, {Object(engine)});
  }
  runtime::FreeComObjectRecord(engine);
  CoUninitialize();
}
BENCHMARK(BM_JsonReadThroughTheCommands)->Unit(benchmark::kMicrosecond);

// The text helper's charset conversion, UTF-8 to GBK, with no skip.
void BM_Utf8ToGbkThroughTheCommands(benchmark::State& state) {
  CoInitialize(nullptr);
  RegisterAdodbStream();
  const std::string input = "\xE4\xB8\xAD\xE6\x96\x87\xE6\x96\x87\xE4\xBB\xB6 report 2024.zip";
  void* stream = runtime::NewComObjectRecord();
  for (auto _ : state) {
    CoInitialize(nullptr);
    Call(command::ComObjectCreate, {Object(stream), runtime::TextArg("Adodb.Stream"), runtime::OmittedArg});
    Write(stream, "Type", runtime::IntArg(1));
    Method(stream, "Open");
    void* bytes = runtime::NewByteSet(input.data(), input.size());
    void* held = runtime::NewVariantBlock();
    Call(command::VariantAssign, {VariantArg(held), runtime::ByteSetArg(bytes), runtime::OmittedArg});
    runtime::FreeBlock(bytes);
    Method(stream, "Write", {runtime::PointerArg(&held, runtime::ArrayOf(runtime::types::Variant))});
    Write(stream, "Position", runtime::IntArg(0));
    Write(stream, "Type", runtime::IntArg(2));
    Write(stream, "Charset", runtime::TextArg("utf-8"));
    auto* text = static_cast<char*>(
        runtime::ArgPointer(Call(command::ComObjectTextMethod, {Object(stream), runtime::TextArg("ReadText")})));
    Method(stream, "Close");
    Method(stream, "Open");
    Write(stream, "Charset", runtime::TextArg("GBK"));
    Method(stream, "WriteText", {runtime::TextArg(text)});
    runtime::FreeBlock(text);
    Write(stream, "Position", runtime::IntArg(0));
    Write(stream, "Type", runtime::IntArg(1));
    void* read = runtime::ArgPointer(Call(command::ComObjectVariantMethod, {Object(stream), runtime::TextArg("Read")}));
    void* result =
        runtime::ArgPointer(Call(command::VariantGetByteSet, {VariantArg(read), runtime::OmittedArg}));
    Call(command::VariantClear, {VariantArg(read)});
    runtime::FreeVariantBlock(read);
    runtime::FreeVariantBlock(held);
    Call(command::ComObjectClear, {Object(stream)});
    CoUninitialize();
    if (runtime::ByteSetLength(result) == 0) state.SkipWithError("no bytes");
    benchmark::DoNotOptimize(result);
    runtime::FreeBlock(result);
  }
  runtime::FreeComObjectRecord(stream);
  CoUninitialize();
}
BENCHMARK(BM_Utf8ToGbkThroughTheCommands)->Unit(benchmark::kMicrosecond);

}  // namespace
