// Memory files: numbers and their registration, reading and writing, lines, and what
// failed reads and writes do to the position.
#include <gtest/gtest.h>

#include "core_call.h"
#include "file_numbers.h"
#include "memory_file.h"

namespace core_test {
namespace {

namespace command = runtime::core::command;
using runtime::BoolArg;
using runtime::IntArg;
using runtime::OmittedArg;
using runtime::core::MemoryFile;
using Operation = runtime::core::MemoryFile::Operation;

// A file opened through the command and closed at the end of the test.
class OpenFile {
 public:
  OpenFile() : number_(CallInt(command::OpenMemoryFile, {})) {}
  ~OpenFile() { Call(command::CloseFile, {Arg()}); }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  std::int32_t Number() const { return number_; }
  CommandArg Arg() const { return IntArg(number_); }
  MemoryFile& Object() const { return *runtime::core::FindOpenFile(number_); }

  bool Write(std::string_view bytes) const {
    ByteSet set(bytes);
    return CallBool(command::WriteByteSet, {Arg(), set.Arg()});
  }
  void Rewind() const { ASSERT_TRUE(CallBool(command::SeekToFileStart, {Arg()})); }
  std::string ReadAll() const { return TakeByteSet(Call(command::ReadByteSet, {Arg(), IntArg(1 << 30)})); }
  std::string ReadLine() const { return CallText(command::ReadLine, {Arg()}); }
  bool AtEnd(CommandArg nulIsEnd = OmittedArg) const { return CallBool(command::IsEndOfFile, {Arg(), nulIsEnd}); }
  std::int32_t Length() const { return CallInt(command::GetFileLength, {Arg()}); }

 private:
  std::int32_t number_;
};

TEST(FileNumbers, NameRegisteredMemoryFilesUntilTheyAreClosed) {
  const std::size_t openBefore = runtime::core::OpenFileCount();
  std::int32_t first = 0;
  const void* object = nullptr;
  {
    OpenFile a;
    OpenFile b;
    first = a.Number();
    object = &a.Object();
    EXPECT_GT(a.Number(), 0);
    EXPECT_NE(a.Number(), b.Number());
    EXPECT_EQ(runtime::ObjectKind(object), runtime::object_kind::MemoryFile);
    EXPECT_EQ(runtime::core::OpenFileCount(), openBefore + 2);
    EXPECT_EQ(a.Length(), 0);
  }
  EXPECT_EQ(runtime::core::OpenFileCount(), openBefore);
  EXPECT_EQ(runtime::ObjectKind(object), -1);
  EXPECT_EQ(CallInt(command::GetFileLength, {IntArg(first)}), -1);
  OpenFile later;
  EXPECT_NE(later.Number(), first) << "a closed number is not given again at once";
}

TEST(FileNumbers, TheObjectRegistryDecidesWhatIsOpen) {
  const std::size_t openBefore = runtime::core::OpenFileCount();
  OpenFile file;
  ASSERT_TRUE(file.Write("abc"));
  ASSERT_TRUE(runtime::UnregisterObject(&file.Object()));
  EXPECT_EQ(file.Length(), -1);
  EXPECT_EQ(runtime::core::OpenFileCount(), openBefore) << "the unregistered file is destroyed";
}

TEST(FileNumbers, EveryCommandRejectsANumberThatIsNotOpen) {
  std::int32_t closed = 0;
  {
    OpenFile file;
    closed = file.Number();
  }
  ByteSet bytes("data");
  for (const std::int32_t number : {0, -1, closed, 2147483647}) {
    const CommandArg n = IntArg(number);
    EXPECT_FALSE(CallBool(command::SeekToFileStart, {n})) << number;
    EXPECT_EQ(TakeByteSet(Call(command::ReadByteSet, {n, IntArg(10)})), "") << number;
    EXPECT_EQ(CallText(command::ReadLine, {n}), "") << number;
    EXPECT_FALSE(CallBool(command::WriteByteSet, {n, bytes.Arg()})) << number;
    EXPECT_FALSE(CallBool(command::WriteText, {n, Text("text")})) << number;
    EXPECT_TRUE(CallBool(command::IsEndOfFile, {n})) << number;
    EXPECT_EQ(CallInt(command::GetFileLength, {n}), -1) << number;
    Call(command::CloseFile, {n});  // nothing to close
  }
  EXPECT_EQ(CallInt(command::GetFileLength, {OmittedArg}), -1);
}

TEST(MemoryFiles, ReadBackWhatWasWritten) {
  OpenFile file;
  ByteSet a("abc");
  ByteSet b(std::string("\0de", 3));
  ASSERT_TRUE(CallBool(command::WriteByteSet, {file.Arg(), a.Arg(), runtime::ByteSetArg(runtime::EmptyByteSet), b.Arg()}));
  EXPECT_EQ(file.Length(), 6);
  EXPECT_TRUE(file.AtEnd());
  EXPECT_EQ(file.ReadAll(), "") << "nothing after the end";
  file.Rewind();
  EXPECT_FALSE(file.AtEnd());
  EXPECT_EQ(TakeByteSet(Call(command::ReadByteSet, {file.Arg(), IntArg(2)})), "ab");
  EXPECT_EQ(TakeByteSet(Call(command::ReadByteSet, {file.Arg(), IntArg(0)})), "");
  EXPECT_EQ(TakeByteSet(Call(command::ReadByteSet, {file.Arg(), IntArg(-5)})), "");
  EXPECT_EQ(file.ReadAll(), std::string("c\0de", 4));
  EXPECT_TRUE(CallBool(command::WriteByteSet, {file.Arg()})) << "nothing to write is no failure";
}

TEST(MemoryFiles, WritingOverwritesAndGrowsInSteps) {
  OpenFile file;
  EXPECT_EQ(file.Object().Capacity(), 0u);
  ASSERT_TRUE(file.Write("x"));
  EXPECT_EQ(file.Object().Capacity(), 1024u);
  ASSERT_TRUE(file.Write(std::string(1023, 'y')));
  EXPECT_EQ(file.Object().Capacity(), 1024u);
  ASSERT_TRUE(file.Write("z"));
  EXPECT_EQ(file.Object().Capacity(), 2048u);
  ASSERT_TRUE(file.Write(std::string(3000, 'w')));
  EXPECT_EQ(file.Object().Capacity(), 4096u);
  EXPECT_EQ(file.Length(), 4025);
  file.Rewind();
  ASSERT_TRUE(file.Write("AB"));
  EXPECT_EQ(file.Length(), 4025) << "the length is the highest byte written";
  file.Rewind();
  const std::string all = file.ReadAll();
  EXPECT_EQ(all.substr(0, 4), "AByy");
}

TEST(MemoryFiles, WriteTextWritesValuesAsText) {
  OpenFile file;
  ByteSet skipped("skipped");
  ASSERT_TRUE(CallBool(command::WriteText,
                       {file.Arg(), Text("n="), IntArg(-5), Text(" "), runtime::DoubleArg(0.1), Text(" "),
                        BoolArg(true), skipped.Arg(), runtime::DoubleArg(2, runtime::types::DateTime), Text("")}));
  file.Rewind();
  EXPECT_EQ(file.ReadAll(), "n=-5 0.1 \xD5\xE6" "1900\xC4\xEA" "1\xD4\xC2" "1\xC8\xD5");  // 真1900年1月1日
}

TEST(MemoryFiles, ReadLineSplitsAtLineEnds) {
  struct LineCase {
    std::string content;
    std::vector<std::string> lines;  // read until the end of the file or a NUL
  };
  const std::string longLine(1500, 'q');
  const std::string before(511, 'a');
  const LineCase cases[] = {
      {"ab\r\ncd", {"ab", "cd"}},
      {"a\n\nb\n", {"a", "", "b"}},
      {"\r\n", {""}},
      {"only", {"only"}},
      {"cr\rinside\n", {"cr\rinside"}},
      {longLine + "\nnext", {longLine, "next"}},
      // A double-byte character takes the byte after it along, even an LF, also when the
      // two are read in different chunks.
      {"\xB0\nz\n", {"\xB0\nz"}},
      {before + "\xB0\nb\nc", {before + "\xB0\nb", "c"}},
      {before + "\xB0", {before + "\xB0"}},
      {before + std::string("\xB0\0x", 3), {before + "\xB0"}},
      // Only a NUL is no trail byte: a lead byte before it stays in the line, which ends.
      {std::string("a\xB0\0", 3), {"a\xB0"}},
      {"a\xB0\x1A" "b\n", {"a\xB0\x1A" "b"}},
      {"\xD6\xD0\xCE\xC4\r\n\xB0", {"\xD6\xD0\xCE\xC4", "\xB0"}},
  };
  for (const LineCase& c : cases) {
    OpenFile file;
    ASSERT_TRUE(file.Write(c.content));
    file.Rewind();
    std::vector<std::string> lines;
    for (int guard = 0; guard < 10 && !file.AtEnd(IntArg(1)); ++guard) lines.push_back(file.ReadLine());
    EXPECT_EQ(lines, c.lines) << c.content.substr(0, 40);
    EXPECT_EQ(file.ReadLine(), "") << "at the end of the file";
  }
}

TEST(MemoryFiles, ReadLineStopsOnANulOrEndOfFileByte) {
  for (const char stop : {'\0', '\x1A'}) {
    OpenFile file;
    ASSERT_TRUE(file.Write(std::string("x") + stop + "y\n"));
    file.Rewind();
    EXPECT_EQ(file.ReadLine(), "x");
    // The stop byte stays unread: only IsEndOfFile with nulIsEnd sees it as the end.
    EXPECT_EQ(file.ReadLine(), "");
    EXPECT_FALSE(file.AtEnd());
    EXPECT_FALSE(file.AtEnd(IntArg(0)));
    EXPECT_TRUE(file.AtEnd(IntArg(1)));
    EXPECT_TRUE(file.AtEnd(BoolArg(true)));
    EXPECT_EQ(file.ReadAll(), std::string(1, stop) + "y\n") << "IsEndOfFile puts the position back";
  }
}

TEST(MemoryFiles, ReadLineLeavesThePositionAfterTheLine) {
  OpenFile file;
  ASSERT_TRUE(file.Write("first\nsecond\n"));
  file.Rewind();
  EXPECT_EQ(file.ReadLine(), "first");
  EXPECT_EQ(file.ReadAll(), "second\n");
}

TEST(MemoryFiles, AFailedReadMovesToTheEnd) {
  OpenFile file;
  ASSERT_TRUE(file.Write(std::string(600, 'r') + "\nrest"));

  file.Rewind();
  file.Object().FailAfter(Operation::Read, 0);
  EXPECT_EQ(TakeByteSet(Call(command::ReadByteSet, {file.Arg(), IntArg(10)})), "");
  EXPECT_EQ(file.Object().Position(), file.Length());

  // The line's second chunk cannot be read.
  file.Object().ClearFailures();
  file.Rewind();
  file.Object().FailAfter(Operation::Read, 1);
  EXPECT_EQ(file.ReadLine(), "");
  EXPECT_EQ(file.Object().Position(), file.Length());

  // A byte that cannot be read ends the file; the position stays.
  file.Object().ClearFailures();
  file.Rewind();
  file.Object().FailAfter(Operation::Read, 0);
  EXPECT_TRUE(file.AtEnd(IntArg(1)));
  EXPECT_EQ(file.Object().Position(), 0);
}

TEST(MemoryFiles, AFailedWritePutsThePositionBack) {
  OpenFile file;
  ASSERT_TRUE(file.Write("abc"));
  ByteSet de("de");
  ByteSet fg("fg");
  file.Object().FailAfter(Operation::Write, 1);
  EXPECT_FALSE(CallBool(command::WriteByteSet, {file.Arg(), de.Arg(), fg.Arg()}));
  EXPECT_EQ(file.Object().Position(), 3);

  file.Object().ClearFailures();
  file.Object().FailAfter(Operation::Write, 1);
  EXPECT_FALSE(CallBool(command::WriteText, {file.Arg(), Text("x"), IntArg(5)}));
  EXPECT_EQ(file.Object().Position(), 3);

  file.Object().ClearFailures();
  file.Object().FailAfter(Operation::Seek, 0);
  EXPECT_FALSE(CallBool(command::SeekToFileStart, {file.Arg()}));
}

}  // namespace
}  // namespace core_test
