#include "app/json/json_get.h"

#include "app/base/runtime_calls.h"
#include "app/program_texts.h"
#include "app/text/automation_variables.h"
#include "app/text/text_primitives.h"
#include "runtime/core/core_library.h"

namespace app {
namespace {

namespace cmd = runtime::core::command;
using runtime::OmittedArg;
using runtime::TextArg;


// Every occurrence, in this letter case.
runtime::Text ReplaceAll(const char* text, const char* find, const char* replacement) {
  return ResultText(CallCore(cmd::ReplaceSubtext, {TextArg(text), TextArg(find), TextArg(replacement), OmittedArg,
                                                   OmittedArg, runtime::BoolArg(true)}));
}

// Only the first character is looked at; a "}" passes as well and then fails in the engine.
bool PassesFormatCheck(const char* json) {
  runtime::Text first = ResultText(CallCore(cmd::TextLeft, {TextArg(json), runtime::IntArg(1)}));
  const bool passes = CompareText(first, kTexts.JsonOpeningBrace) == 0 || CompareText(first, kTexts.JsonClosingBrace) == 0;
  FreeBlock(first);
  return passes;
}

// The value of the path in the object, through the script's function; empty when the
// script does not run or gives no value.
runtime::Text RunScript(void* engine, const char* script) {
  CallCore(cmd::ComObjectNumberMethod, {ObjectArg(engine), TextArg(kTexts.ScriptExecuteStatement), TextArg(script)});
  void* value = ResultBlock(
      CallCore(cmd::ComObjectVariantMethod, {ObjectArg(engine), TextArg(kTexts.ScriptRun), TextArg(kTexts.ScriptFunction)}));
  runtime::Text text = ResultText(CallCore(cmd::VariantGetText, {runtime::PointerArg(value, runtime::types::Variant)}));
  ReleaseVariantVariable(value);
  return text;
}

// Objects print as "[object Object]", arrays as their elements' texts joined by ",".
void Classify(runtime::Text& result, const char* path, std::int32_t* count) {
  if (CompareText(result, kTexts.JsonObjectText) == 0) {
    Assign(result, ConcatTexts({kTexts.JsonShouldBe, path, kTexts.JsonMemberHint}));
  }
  if (ResultInt(CallCore(cmd::FindText, {TextArg(result), TextArg(kTexts.JsonObjectText)})) == -1) return;
  void* parts = ResultBlock(CallCore(cmd::SplitText, {TextArg(result), TextArg(kTexts.JsonComma)}));
  const ArrayDataResult elements = ArrayData(parts);
  for (std::int32_t i = 0; i < elements.count; ++i) FreeBlock(runtime::ArrayElementAt<runtime::Text>(parts, i));
  FreeBlock(parts);
  if (count) *count = elements.count;
  runtime::Text last = ResultText(CallCore(cmd::ToText, {runtime::DoubleArg(elements.count - 1.0)}));
  Assign(result, ConcatTexts({kTexts.JsonShouldBe, path, kTexts.JsonIndexFrom, last, kTexts.JsonIndexTo}));
  FreeBlock(last);
}

}  // namespace

runtime::Text JsonGet(const char* json, const char* path, std::int32_t* count) {
  if (!PassesFormatCheck(json)) return ConcatTexts({kTexts.JsonFormatError});
  // One engine per call, released on every path below.
  void* engine = NewComObjectVariable();
  CallCore(cmd::ComObjectCreate, {ObjectArg(engine), TextArg(kTexts.ScriptProgId)});
  CallCore(cmd::ComObjectWriteProperty,
           {ObjectArg(engine), TextArg(kTexts.ScriptLanguageProperty), TextArg(kTexts.ScriptLanguage)});
  runtime::Text script = ReplaceAll(kTexts.JsonTemplate, kTexts.JsonPlaceOfJson, json);
  runtime::Text result = nullptr;
  if (CompareText(path, kTexts.Empty) == 0) {
    result = ConcatTexts({kTexts.JsonEmptyPath});
  } else {
    runtime::Text member = ConcatTexts({kTexts.JsonDot, path});
    Assign(script, ReplaceAll(script, kTexts.JsonPlaceOfPath, member));
    FreeBlock(member);
    result = RunScript(engine, script);
    Classify(result, path, count);
  }
  FreeBlock(script);
  ReleaseComObjectVariable(engine);
  return result;
}

}  // namespace app
