// Text commands that search: finding, replacing and splitting at a needle.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core_command_args.h"
#include "results.h"
#include "runtime/core/commands.h"
#include "runtime/frame.h"
#include "text_leads.h"
#include "text_search.h"
#include "value_numbers.h"

namespace runtime::core {

void FindText(CommandResult* result, std::int32_t argc, CommandArg* args) {
  const CommandArgs in(argc, args);
  const char* text = in.TerminatedText(0);
  const char* needle = in.TerminatedText(1);
  const std::int64_t start = in.Int(2, 1);
  const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
  const bool ignoreCase = in.Int(3) == 1;
  std::int32_t position = -1;
  // Whether anything lies at or after `from` needs only the bytes up to it: a long text is
  // not measured just to search it.
  if (strnlen(text, from + 1) > from) {
    if (*needle == '\0') {
      position = 1;
    } else {
      const std::size_t at = ignoreCase ? WalkSearch(text, needle, true).Next(from)
                                        : FindInTerminatedText(text, from, needle);
      if (at != WalkSearch::npos) position = static_cast<std::int32_t>(at + 1);
    }
  }
  SetIntResult(result, position);
}

void ReplaceTextRange(CommandResult* result, std::int32_t argc, CommandArg* args) {
  const CommandArgs in(argc, args);
  const std::string_view text = in.Text(0);
  const auto length = static_cast<std::int64_t>(text.size());
  const std::int64_t at = std::clamp<std::int64_t>(std::int64_t{in.Int(1)} - 1, 0, length);
  const std::int64_t removed = std::clamp<std::int64_t>(in.Int(2), 0, length - at);
  const std::string_view replacement = in.Text(3);
  TextBuilder replaced(text.size() - static_cast<std::size_t>(removed) + replacement.size());
  replaced.Append(text.substr(0, static_cast<std::size_t>(at)));
  replaced.Append(replacement);
  replaced.Append(text.substr(static_cast<std::size_t>(at + removed)));
  ReturnText(result, replaced.Finish());
}

void ReplaceSubtext(CommandResult* result, std::int32_t argc, CommandArg* args) {
  const CommandArgs in(argc, args);
  const std::string_view text = in.Text(0);
  const std::string_view find = in.Text(1);
  const std::string_view replacement = in.Text(2);
  const std::int64_t start = in.Int(3, 1);
  const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
  const std::int32_t count = in.Int(4, -1);  // negative: every occurrence
  const bool caseSensitive = in.Int(5) != 0;
  if (text.empty() || find.empty() || from >= text.size() || count == 0) {
    return ReturnTextCopy(result, text);
  }

  TextBuilder replaced(text.size());
  replaced.Append(text.substr(0, from));
  const WalkSearch search(text, find, !caseSensitive);
  std::size_t walk = from;  // where the walk stands; the text before it is done
  std::int32_t made = 0;
  while (count < 0 || made < count) {
    const std::size_t at = search.Next(walk);
    if (at == WalkSearch::npos) break;
    replaced.Append(text.substr(walk, at - walk));
    replaced.Append(replacement);
    walk = at + find.size();
    ++made;
  }
  std::string_view rest = text.substr(walk);
  // A walk that went on to the end compares a one-byte needle even with a lead byte in the
  // last place; finding no match there, it drops that byte.
  const bool walkedToEnd = count < 0 || made < count;
  if (walkedToEnd && find.size() == 1 && !rest.empty() &&
      codepage::IsGbkLeadByte(static_cast<unsigned char>(rest.back()), kTextLeads) &&
      codepage::GbkWalkReaches(text, walk, text.size() - 1, kTextLeads)) {
    rest.remove_suffix(1);
  }
  replaced.Append(rest);
  ReturnText(result, replaced.Finish());
}

void SplitText(CommandResult* result, std::int32_t argc, CommandArg* args) {
  const CommandArgs in(argc, args);
  const std::string_view text = in.Text(0);
  const std::string_view delimiter = in.Given(1) ? in.Text(1) : std::string_view(",");
  const std::int32_t maxParts = in.Given(2) ? std::max(in.Int(2), 0) : -1;  // -1: no limit

  std::vector<Text> parts;
  if (!text.empty() && maxParts != 0) {
    if (delimiter.empty()) {
      parts.push_back(NewText(text.data(), text.size()));
    } else {
      const WalkSearch search(text, delimiter, false);
      std::size_t walk = 0;
      bool full = false;
      for (std::size_t at = search.Next(0); at != WalkSearch::npos; at = search.Next(walk)) {
        parts.push_back(NewText(text.data() + walk, at - walk));
        walk = at + delimiter.size();
        if (maxParts > 0 && static_cast<std::int32_t>(parts.size()) == maxParts) {
          full = true;
          break;
        }
      }
      if (!full && walk < text.size()) parts.push_back(NewText(text.data() + walk, text.size() - walk));
    }
  }
  void* array = NewArray1(static_cast<std::int32_t>(parts.size()), sizeof(Text));
  for (std::size_t i = 0; i < parts.size(); ++i) SetArrayElementAt(array, static_cast<std::int64_t>(i), parts[i]);
  SetPointerResult(result, array, ArrayOf(types::Text));
}

}  // namespace runtime::core
