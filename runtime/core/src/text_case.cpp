// Text commands that change single-byte characters as the walk meets them.
#include <cstdint>

#include "core_command_args.h"
#include "results.h"
#include "runtime/core/commands.h"
#include "text_leads.h"
#include "win/ascii_case.h"

namespace runtime::core {
namespace {

// A copy of the text whose single-byte characters went through `change`; double-byte
// characters (and a lead byte at the end) stay as they are.
template <typename Change>
void ReturnWithSingleBytesChanged(CommandResult* result, std::string_view text, Change change) {
  TextBuilder copy(text.size());
  copy.Append(text);
  char* bytes = copy.Data();
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t width = codepage::GbkCharWidth(text, i, kTextLeads);
    if (width == 0) break;
    if (width == 1) bytes[i] = change(bytes[i]);
    i += width;
  }
  ReturnText(result, copy.Finish());
}

}  // namespace

void ToUpper(CommandResult* result, std::int32_t argc, CommandArg* args) {
  ReturnWithSingleBytesChanged(result, CommandArgs(argc, args).Text(0), ascii::Upper<char>);
}

void ToLower(CommandResult* result, std::int32_t argc, CommandArg* args) {
  ReturnWithSingleBytesChanged(result, CommandArgs(argc, args).Text(0), ascii::Lower<char>);
}

void RemoveAllSpaces(CommandResult* result, std::int32_t argc, CommandArg* args) {
  const std::string_view text = CommandArgs(argc, args).Text(0);
  TextBuilder kept(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t width = codepage::GbkCharWidth(text, i, kTextLeads);
    if (width == 0) break;  // a lead byte at the end is not kept
    const std::string_view character = text.substr(i, width);
    if (character != " " && character != "\xA1\xA1") kept.Append(character);  // 　 full-width space
    i += width;
  }
  ReturnText(result, kept.Finish());
}

}  // namespace runtime::core
