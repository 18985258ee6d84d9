// The `regex` variable: construction, destruction and Create.
#include <boost/regex.hpp>
#include <new>

#include "command_args.h"
#include "regex/regex_library.h"

namespace regexlib {

void ConstructRegex(runtime::CommandResult*, std::int32_t argc, runtime::CommandArg* args) {
  RegexVariable* var = BlockArg<RegexVariable>(argc, args, 0);
  if (!var) return;
  var->MultiLine = 1;
  try {
    var->expression = new boost::regex();
  } catch (...) {
    var->expression = nullptr;  // Create allocates later if it can
  }
}

void DestroyRegex(runtime::CommandResult*, std::int32_t argc, runtime::CommandArg* args) {
  RegexVariable* var = BlockArg<RegexVariable>(argc, args, 0);
  if (!var) return;
  delete var->expression;
  var->expression = nullptr;  // a second destruction is then harmless
}

void Create(runtime::CommandResult* result, std::int32_t argc, runtime::CommandArg* args) {
  runtime::SetBoolResult(result, false);
  RegexVariable* var = BlockArg<RegexVariable>(argc, args, 0);
  if (!var) return;
  const char* pattern = TextArgAt(argc, args, 1);
  const runtime::CommandArg* caseSensitive = ArgAt(argc, args, 2);

  boost::regex::flag_type flags = boost::regex::perl;
  if (caseSensitive && !runtime::IsOmitted(*caseSensitive) && !runtime::ArgBool(*caseSensitive)) {
    flags |= boost::regex::icase;
  }
  try {
    // Compiled beside the old expression, which a rejected pattern leaves untouched.
    boost::regex compiled(pattern, flags);
    if (var->expression) {
      var->expression->swap(compiled);
    } else {
      var->expression = new boost::regex(std::move(compiled));
    }
    runtime::SetBoolResult(result, true);
  } catch (...) {
    // boost::regex_error for a malformed pattern, std::bad_alloc: both are a plain false.
  }
}

}  // namespace regexlib
