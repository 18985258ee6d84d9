#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "error_text.h"
#include "kernel/modules.h"
#include "runtime/dll_call.h"
#include "runtime/frame.h"

namespace runtime {
namespace {

using testing::HasSubstr;

int Add(int a, int b) { return a + b; }
int AddTen(int a) { return a + 10; }
int Negate(int a) { return -a; }
int SystemProbe() { return 42; }

void RegisterTestModules() {
  static const BuiltinExport kExports[] = {
      {"Add", 12, 8, ExportAddress(Add)},
      {"AddTen", 4464, 4, ExportAddress(AddTen)},
  };
  RegisterBuiltinModule("FrameTest.dll", kExports);
  static const BuiltinExport kSystemExports[] = {{"FrameSystemProbe", 0, 0, ExportAddress(SystemProbe)}};
  RegisterBuiltinModule("Mpr.dll", kSystemExports);
}

struct Declared {
  const char* library;
  const char* entry;
};

void Declare(std::initializer_list<Declared> commands) {
  static std::vector<const char*> libraries, entries;
  libraries.clear();
  entries.clear();
  for (const Declared& d : commands) {
    libraries.push_back(d.library);
    entries.push_back(d.entry);
  }
  SetDllCommandTable(static_cast<std::int32_t>(libraries.size()), libraries.data(), entries.data());
}

class DllCommands : public testing::Test {
 protected:
  void SetUp() override { RegisterTestModules(); }
};

TEST_F(DllCommands, ResolveByNameWithoutRegardToTheLibraryNamesCase) {
  Declare({{"frametest.DLL", "Add"}, {"FRAMETEST", "Add"}});
  EXPECT_EQ((DllCommand<int(int, int)>{0, 8}(2, 3)), 5);
  EXPECT_EQ((DllCommand<int(int, int)>{1, 8}(4, 5)), 9);
}

TEST_F(DllCommands, AHashAndDigitsNameAnOrdinalModulo65536) {
  Declare({{"FrameTest.dll", "#12"}, {"FrameTest.dll", "#70000"}});
  EXPECT_EQ((DllCommand<int(int, int)>{0, 8}(20, 22)), 42);
  EXPECT_EQ((DllCommand<int(int)>{1, 4}(1)), 11);  // 70000 % 65536 = 4464
}

TEST_F(DllCommands, AnEmptyLibraryNameSearchesTheSystemModules) {
  Declare({{"", "FrameSystemProbe"}});
  EXPECT_EQ((DllCommand<int()>{0, 0}()), 42);
}

TEST_F(DllCommands, TheFirstResolutionIsCachedForTheRestOfTheRun) {
  Declare({{"FrameTest.dll", "AddTen"}});
  DllCommand<int(int)> addTen{0, 4};
  EXPECT_EQ(addTen(1), 11);
  static const BuiltinExport kReplacement[] = {{"AddTen", 4464, 4, ExportAddress(Negate)}};
  RegisterBuiltinModule("FrameTest.dll", kReplacement);
  EXPECT_EQ(addTen(1), 11);  // still the address found by the first call
  Declare({{"FrameTest.dll", "AddTen"}});
  EXPECT_EQ(addTen(1), -1);  // a new table resolves afresh
  static const BuiltinExport kOriginal[] = {{"AddTen", 4464, 4, ExportAddress(AddTen)}};
  RegisterBuiltinModule("FrameTest.dll", kOriginal);
}

TEST_F(DllCommands, ArgumentBytesThatMatchTheExportLeaveTheStackBalanced) {
  Declare({{"FrameTest.dll", "Add"}});
  DllCommand<int(int, int)> add{0, 8};
  EXPECT_EQ(add(1, 1), 2);
}

using DllCommandsDeathTest = DllCommands;

TEST_F(DllCommandsDeathTest, ADeclarationWithOtherArgumentBytesUnbalancesTheStack) {
  Declare({{"FrameTest.dll", "Add"}});
  EXPECT_EXIT((DllCommand<int(int, int)>{0, 12}(1, 2)), testing::ExitedWithCode(255),
              HasSubstr(NumberedErrorBox(6, "调用DLL命令后发现堆栈错误")));
}

TEST_F(DllCommandsDeathTest, AMissingLibraryNamesLibraryAndEntry) {
  Declare({{"NoSuchLibrary.dll", "InternetOpenA"}});
  EXPECT_EXIT((DllCommand<int()>{0, 0}()), testing::ExitedWithCode(255),
              HasSubstr(MessageErrorBox("无法找到指定DLL库文件“NoSuchLibrary.dll”中的输出命令“InternetOpenA”")));
}

TEST_F(DllCommandsDeathTest, AMissingEntryNamesLibraryAndEntry) {
  Declare({{"FrameTest.dll", "Subtract"}});
  EXPECT_EXIT((DllCommand<int()>{0, 0}()), testing::ExitedWithCode(255),
              HasSubstr(MessageErrorBox("无法找到指定DLL库文件“FrameTest.dll”中的输出命令“Subtract”")));
}

TEST_F(DllCommandsDeathTest, AMissingSystemEntryNamesOnlyTheEntry) {
  Declare({{"", "NoSuchFunction"}});
  EXPECT_EXIT((DllCommand<int()>{0, 0}()), testing::ExitedWithCode(255),
              HasSubstr(MessageErrorBox("无法找到指定DLL库文件中的输出命令“NoSuchFunction”")));
}

}  // namespace
}  // namespace runtime
