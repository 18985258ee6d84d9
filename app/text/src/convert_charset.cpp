#include "app/text/convert_charset.h"

#include "app/base/dll_commands.h"
#include "app/base/runtime_calls.h"
#include "app/program_texts.h"
#include "app/text/automation_variables.h"
#include "runtime/core/core_library.h"

namespace app {
namespace {

namespace cmd = runtime::core::command;
using runtime::IntArg;
using runtime::TextArg;


void Method(void* stream, const char* name) { CallCore(cmd::ComObjectMethod, {ObjectArg(stream), TextArg(name)}); }
void Property(void* stream, const char* name, runtime::CommandArg value) {
  CallCore(cmd::ComObjectWriteProperty, {ObjectArg(stream), TextArg(name), value});
}

}  // namespace

// The stream holds the input as binary data, gives it back as text in fromCharset, is
// reopened empty, takes that text in toCharset and gives it back as binary data. None of
// its calls is checked: a stream that cannot be made leaves every call failing quietly.
void* ConvertCharset(const void* bytes, const char* fromCharset, const char* toCharset, std::int32_t skip) {
  dll::CoInitialize(nullptr);
  void* stream = NewComObjectVariable();
  CallCore(cmd::ComObjectCreate, {ObjectArg(stream), TextArg(kTexts.StreamProgId)});
  Property(stream, kTexts.StreamType, IntArg(1));
  Method(stream, kTexts.StreamOpen);

  void* input = NewVariantVariable();
  CallCore(cmd::VariantAssign, {VariantArg(input), runtime::ByteSetArg(bytes)});
  CallCore(cmd::ComObjectMethod, {ObjectArg(stream), TextArg(kTexts.StreamWrite), ByReference(&input, runtime::types::Variant)});

  Property(stream, kTexts.StreamPosition, IntArg(0));
  Property(stream, kTexts.StreamType, IntArg(2));
  Property(stream, kTexts.StreamCharset, TextArg(fromCharset));
  runtime::Text text = ResultText(CallCore(cmd::ComObjectTextMethod, {ObjectArg(stream), TextArg(kTexts.StreamReadText)}));

  Method(stream, kTexts.StreamClose);
  Method(stream, kTexts.StreamOpen);
  Property(stream, kTexts.StreamCharset, TextArg(toCharset));
  CallCore(cmd::ComObjectMethod, {ObjectArg(stream), TextArg(kTexts.StreamWriteText), TextArg(text)});
  FreeBlock(text);

  Property(stream, kTexts.StreamPosition, IntArg(0));
  Property(stream, kTexts.StreamType, IntArg(1));
  if (skip > 0) Property(stream, kTexts.StreamPosition, IntArg(skip));
  void* output = ResultBlock(CallCore(cmd::ComObjectVariantMethod, {ObjectArg(stream), TextArg(kTexts.StreamRead)}));
  void* result = ResultBlock(CallCore(cmd::VariantGetByteSet, {VariantArg(output)}));
  ReleaseVariantVariable(output);
  ReleaseVariantVariable(input);

  ReleaseComObjectVariable(stream);
  dll::CoUninitialize();
  return result;
}

}  // namespace app
