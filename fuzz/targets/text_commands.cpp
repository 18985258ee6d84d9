// The core commands that walk GBK texts, and the number conversions, over any bytes: each
// ends, stays inside its text and gives a result its own rules allow.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "runtime/core/core_library.h"
#include "runtime/entry_table.h"
#include "runtime/frame.h"
#include "runtime/values.h"
#include "ui/application.h"
#include "win/ascii_case.h"

namespace {

namespace cmd = runtime::core::command;
using runtime::CommandArg;
using runtime::IntArg;
using runtime::OmittedArg;
using runtime::TextArg;

runtime::CommandResult Call(std::int32_t index, std::vector<CommandArg> args) {
  return runtime::EntryTable().CallCoreCommand(runtime::core::CoreCommand(index), static_cast<std::int32_t>(args.size()),
                                               args.data());
}

// A returned text, freed; an empty one must come back as null.
std::string Take(const runtime::CommandResult& result) {
  auto* text = static_cast<char*>(runtime::ArgPointer(result));
  if (!text) return {};
  std::string bytes(text);
  FUZZ_CHECK(!bytes.empty());
  runtime::FreeBlock(text);
  return bytes;
}

std::vector<std::string> TakeArray(const runtime::CommandResult& result) {
  void* array = runtime::ArgPointer(result);
  FUZZ_CHECK(array != nullptr && runtime::ArrayDimensions(array) == 1);
  std::vector<std::string> parts;
  for (std::int64_t i = 0; i < runtime::ArrayCount(array); ++i) {
    auto* part = runtime::ArrayElementAt<char*>(array, i);
    parts.emplace_back(part ? part : "");
    runtime::FreeBlock(part);
  }
  runtime::FreeBlock(array);
  return parts;
}

void CheckFind(const std::string& text, const std::string& needle, std::int32_t start, bool ignoreCase) {
  const std::int32_t at = runtime::ArgInt(
      Call(cmd::FindText, {TextArg(text.c_str()), TextArg(needle.c_str()), IntArg(start), runtime::BoolArg(ignoreCase)}));
  if (at == -1) return;
  // An empty needle is found at 1 wherever the search starts.
  if (needle.empty()) return FUZZ_CHECK(at == 1);
  FUZZ_CHECK(at >= 1 && at >= start && static_cast<std::size_t>(at) - 1 + needle.size() <= text.size());
  const char* found = text.c_str() + at - 1;
  FUZZ_CHECK(ignoreCase ? ascii::EqualsIgnoreCase(std::string_view(found, needle.size()), needle)
                        : std::memcmp(found, needle.data(), needle.size()) == 0);
}

void CheckSplit(const std::string& text, const std::string& delimiter, std::int32_t maxParts, bool limited) {
  std::vector<CommandArg> args = {TextArg(text.c_str()), TextArg(delimiter.c_str())};
  if (limited) args.push_back(IntArg(maxParts));
  const std::vector<std::string> parts = TakeArray(Call(cmd::SplitText, args));
  if (limited || delimiter.empty()) {
    if (limited && maxParts >= 0) FUZZ_CHECK(parts.size() <= static_cast<std::size_t>(maxParts));
    return;
  }
  // Without a limit the parts put back together are the text, less a final delimiter.
  std::string joined;
  for (std::size_t i = 0; i < parts.size(); ++i) joined += (i ? delimiter : "") + parts[i];
  FUZZ_CHECK(text.compare(0, joined.size(), joined) == 0);
  FUZZ_CHECK(text.size() - joined.size() <= delimiter.size());
}

void CheckCase(const std::string& text) {
  for (std::int32_t command : {cmd::ToUpper, cmd::ToLower}) {
    const std::string changed = Take(Call(command, {TextArg(text.c_str())}));
    FUZZ_CHECK(ascii::EqualsIgnoreCase(changed, text));
  }
  FUZZ_CHECK(Take(Call(cmd::RemoveAllSpaces, {TextArg(text.c_str())})).size() <= text.size());
}

void CheckReplace(fuzz::FuzzInput& in, const std::string& text, const std::string& find, const std::string& with) {
  const std::int32_t start = in.Position(), count = in.Position();
  const std::uint8_t flags = in.Byte();
  std::vector<CommandArg> args = {TextArg(text.c_str()), TextArg(find.c_str()), TextArg(with.c_str()), IntArg(start),
                                  IntArg(count), runtime::BoolArg(flags & 1)};
  if (flags & 2) args[3] = OmittedArg;
  if (flags & 4) args[4] = OmittedArg;
  if (flags & 8) args.pop_back();
  Take(Call(cmd::ReplaceSubtext, args));
  const std::string range = Take(Call(cmd::ReplaceTextRange, {TextArg(text.c_str()), IntArg(start), IntArg(count),
                                                              TextArg(with.c_str())}));
  FUZZ_CHECK(range.size() <= text.size() + with.size());
}

void CheckNumbers(fuzz::FuzzInput& in, const std::string& text) {
  const double number = runtime::ArgDouble(Call(cmd::ToNumber, {TextArg(text.c_str())}));
  Call(cmd::ToInteger, {TextArg(text.c_str())});
  Call(cmd::ToFloat, {TextArg(text.c_str())});
  const std::string printed = Take(Call(cmd::ToText, {runtime::DoubleArg(number)}));
  FUZZ_CHECK(!printed.empty());
  std::int32_t word = 0;
  for (int i = 0; i < 4; ++i) word = static_cast<std::int32_t>((static_cast<std::uint32_t>(word) << 8) | in.Byte());
  FUZZ_CHECK(std::strtoul(Take(Call(cmd::ToHexText, {IntArg(word)})).c_str(), nullptr, 16) == static_cast<std::uint32_t>(word));
  Take(Call(cmd::ToText, {IntArg(word)}));
}

// Lines of a memory file holding the bytes, NULs included, read as the cookie loop reads
// them (stepping over the NUL or 0x1A byte a line stops on): the reads end.
void CheckReadLine(std::string_view bytes) {
  const CommandArg file = IntArg(runtime::ArgInt(Call(cmd::OpenMemoryFile, {})));
  void* block = runtime::NewByteSet(bytes.data(), bytes.size());
  Call(cmd::WriteByteSet, {file, runtime::ByteSetArg(block)});
  runtime::FreeBlock(block);
  Call(cmd::SeekToFileStart, {file});
  std::size_t lines = 0, taken = 0;
  while (!runtime::ArgBool(Call(cmd::IsEndOfFile, {file}))) {
    taken += Take(Call(cmd::ReadLine, {file})).size();
    FUZZ_CHECK(++lines <= bytes.size() + 1 && taken <= bytes.size());
    if (runtime::ArgBool(Call(cmd::IsEndOfFile, {file, IntArg(1)})) &&
        !runtime::ArgBool(Call(cmd::IsEndOfFile, {file}))) {
      runtime::FreeBlock(runtime::ArgPointer(Call(cmd::ReadByteSet, {file, IntArg(1)})));
    }
  }
  Call(cmd::CloseFile, {file});
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ui::EnsureApplication();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in(data, size);
  const std::uint8_t flags = in.Byte();
  const std::int32_t start = in.Position();
  const std::string_view raw = in.Rest();
  const std::vector<std::string> pieces = in.Pieces(3);
  const std::string text = fuzz::AsText(pieces[0]), needle = fuzz::AsText(pieces[1]),
                    with = fuzz::AsText(pieces[2]);

  CheckFind(text, needle, start, flags & 1);
  CheckSplit(text, needle, start, flags & 2);
  CheckCase(text);
  fuzz::FuzzInput tail(reinterpret_cast<const std::uint8_t*>(with.data()), with.size());
  CheckReplace(tail, text, needle, with);
  CheckNumbers(tail, text);
  CheckReadLine(raw);
  return 0;
}
