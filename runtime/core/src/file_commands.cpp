// File commands on MemoryFiles. A number that is not open gets the neutral result; a read
// that fails leaves the position at the end of the file, a write that fails puts it back
// where the command found it.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "core_command_args.h"
#include "file_numbers.h"
#include "results.h"
#include "runtime/core/commands.h"
#include "runtime/frame.h"
#include "text_leads.h"
#include "value_text.h"

namespace runtime::core {
namespace {

constexpr std::size_t kLineChunk = 512;

MemoryFile* FileOf(const CommandArgs& in) { return FindOpenFile(in.Int(0)); }

void MoveToEnd(MemoryFile& file) { file.Seek(file.Length()); }

bool IsLineEnd(char c) { return c == '\n' || c == '\0' || c == '\x1A'; }

// Reads from the position to the end of the line, as ReadLine: the line without its
// terminator, the position after an LF or on a NUL or 0x1A. False when a read failed.
bool ReadLineFrom(MemoryFile& file, TextBuilder& line) {
  const std::int64_t start = file.Position();
  std::size_t walk = 0;  // the next character of `line` to look at
  char chunk[kLineChunk];
  for (;;) {
    std::size_t got = 0;
    if (!file.Read(chunk, sizeof chunk, &got)) return false;
    if (got == 0) return true;  // end of the file: the line is what was read
    line.Append(std::string_view(chunk, got));
    const std::string_view bytes = line.View();
    while (walk < bytes.size()) {
      if (IsLineEnd(bytes[walk])) {
        file.Seek(start + static_cast<std::int64_t>(walk) + (bytes[walk] == '\n' ? 1 : 0));
        line.Truncate(walk);
        return true;
      }
      const std::size_t width = codepage::GbkCharWidth(bytes, walk, kTextLeads);
      if (width == 0 && walk + 1 == bytes.size()) break;  // the trail byte is in the next chunk
      walk += width == 0 ? 1 : width;                      // a lead byte before a NUL: the NUL ends the line
    }
  }
}

}  // namespace

void OpenMemoryFile(CommandResult* result, std::int32_t, CommandArg*) {
  SetIntResult(result, OpenFileNumber(std::make_unique<MemoryFile>()));
}

void CloseFile(CommandResult*, std::int32_t argc, CommandArg* args) { CloseFileNumber(CommandArgs(argc, args).Int(0)); }

void SeekToFileStart(CommandResult* result, std::int32_t argc, CommandArg* args) {
  MemoryFile* file = FileOf(CommandArgs(argc, args));
  SetBoolResult(result, file && file->Seek(0));
}

void ReadByteSet(CommandResult* result, std::int32_t argc, CommandArg* args) {
  const CommandArgs in(argc, args);
  MemoryFile* file = FileOf(in);
  const std::int32_t wanted = in.Int(1);
  if (!file || wanted <= 0) return ReturnByteSet(result, nullptr);
  const std::int64_t available = std::max<std::int64_t>(file->Length() - file->Position(), 0);
  const auto n = static_cast<std::size_t>(std::min<std::int64_t>(wanted, available));
  if (n == 0) return ReturnByteSet(result, nullptr);  // at the end of the file
  void* block = NewArray1(static_cast<std::int32_t>(n), 1);
  std::size_t got = 0;
  if (!file->Read(ByteSetBytes(block), n, &got)) {
    FreeBlock(block);
    MoveToEnd(*file);
    return ReturnByteSet(result, nullptr);
  }
  ReturnByteSet(result, block);
}

void ReadLine(CommandResult* result, std::int32_t argc, CommandArg* args) {
  MemoryFile* file = FileOf(CommandArgs(argc, args));
  if (!file) return ReturnText(result, nullptr);
  TextBuilder line;
  if (!ReadLineFrom(*file, line)) {
    MoveToEnd(*file);
    return ReturnText(result, nullptr);
  }
  if (line.size() > 0 && line.View().back() == '\r') line.Truncate(line.size() - 1);
  ReturnText(result, line.Finish());
}

void WriteByteSet(CommandResult* result, std::int32_t argc, CommandArg* args) {
  const CommandArgs in(argc, args);
  MemoryFile* file = FileOf(in);
  if (!file) return SetBoolResult(result, false);
  const std::int64_t start = file->Position();
  for (std::int32_t i = 1; i < in.Count(); ++i) {
    const std::string_view bytes = in.Bytes(i);
    if (!bytes.empty() && !file->Write(bytes.data(), bytes.size())) {
      file->Seek(start);
      return SetBoolResult(result, false);
    }
  }
  SetBoolResult(result, true);
}

void WriteText(CommandResult* result, std::int32_t argc, CommandArg* args) {
  const CommandArgs in(argc, args);
  MemoryFile* file = FileOf(in);
  if (!file) return SetBoolResult(result, false);
  const std::int64_t start = file->Position();
  std::string scalar;
  for (std::int32_t i = 1; i < in.Count(); ++i) {
    std::string_view bytes;
    if (in[i].type == types::Text) {
      bytes = in.Text(i);
    } else {
      scalar.clear();
      AppendScalarText(in[i], scalar);  // byte sets, arrays and other types write nothing
      bytes = scalar;
    }
    if (!bytes.empty() && !file->Write(bytes.data(), bytes.size())) {
      file->Seek(start);
      return SetBoolResult(result, false);
    }
  }
  SetBoolResult(result, true);
}

void IsEndOfFile(CommandResult* result, std::int32_t argc, CommandArg* args) {
  const CommandArgs in(argc, args);
  MemoryFile* file = FileOf(in);
  if (!file || file->Position() >= file->Length()) return SetBoolResult(result, true);
  if (in.Int(1) != 1) return SetBoolResult(result, false);
  const std::int64_t position = file->Position();
  char next = 0;
  std::size_t got = 0;
  // A byte that cannot be read ends the file as well.
  const bool end = !file->Read(&next, 1, &got) || got == 0 || next == '\0' || next == '\x1A';
  file->Seek(position);
  SetBoolResult(result, end);
}

void GetFileLength(CommandResult* result, std::int32_t argc, CommandArg* args) {
  MemoryFile* file = FileOf(CommandArgs(argc, args));
  SetIntResult(result, file ? static_cast<std::int32_t>(file->Length()) : -1);
}

}  // namespace runtime::core
