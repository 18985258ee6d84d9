// The template_compiler command itself: its outputs and its exit codes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "runtime/windows/template_format.h"
#include "testsupport/command_run.h"

namespace {

using testing::HasSubstr;
using testsupport::CommandRun;
using testsupport::ReadFile;
using testsupport::WriteFile;

CommandRun Command(const std::string& arguments) { return testsupport::RunCommand(TEMPLATE_COMPILER, arguments); }

std::string TempPath(const std::string& name) { return testing::TempDir() + "template_compiler_cli_" + name; }

constexpr const char* kForm = "window 0x52010009\n  unit 0x06010000 window \"\"\n    caption \"标题\"\n";

TEST(TemplateCompilerCommand, CompilesAndDumps) {
  WriteFile(TempPath("ok.form"), kForm);
  CommandRun compile = Command(TempPath("ok.form") + " -o " + TempPath("ok.block"));
  ASSERT_EQ(compile.status, 0) << compile.output;
  std::string block = ReadFile(TempPath("ok.block"));
  EXPECT_TRUE(runtime::ReadTemplateBlock(std::span(reinterpret_cast<const std::uint8_t*>(block.data()), block.size())).ok);

  CommandRun dump = Command("--dump " + TempPath("ok.block"));
  ASSERT_EQ(dump.status, 0) << dump.output;
  EXPECT_THAT(dump.output, HasSubstr(std::to_string(block.size()) + " bytes"));
  EXPECT_THAT(dump.output, HasSubstr("window 0x52010009"));
  EXPECT_THAT(dump.output, HasSubstr("caption \"标题\""));
}

TEST(TemplateCompilerCommand, WritesACppArray) {
  WriteFile(TempPath("cpp.form"), kForm);
  CommandRun compile = Command(TempPath("cpp.form") + " --cpp " + TempPath("out.cpp") + " --symbol app::forms::kTest");
  ASSERT_EQ(compile.status, 0) << compile.output;
  std::string source = ReadFile(TempPath("out.cpp"));
  EXPECT_THAT(source, HasSubstr("namespace app::forms {"));
  EXPECT_THAT(source, HasSubstr("const unsigned char kTest[] = {"));
  EXPECT_THAT(source, HasSubstr("const std::size_t kTestSize = "));
}

TEST(TemplateCompilerCommand, FailsClearly) {
  WriteFile(TempPath("bad.form"), "window 1\n  unit 2 window \"\"\n    captoin \"x\"\n");
  CommandRun bad = Command(TempPath("bad.form") + " -o " + TempPath("bad.block"));
  EXPECT_NE(bad.status, 0);
  EXPECT_THAT(bad.output, HasSubstr("bad.form:3: unknown window property 'captoin'"));

  WriteFile(TempPath("damaged.block"), std::string("\x08\0\0\0\x01", 5));
  CommandRun damaged = Command("--dump " + TempPath("damaged.block"));
  EXPECT_NE(damaged.status, 0);
  EXPECT_THAT(damaged.output, HasSubstr("not a readable template block"));

  EXPECT_NE(Command(TempPath("ok.form") + " --cpp x.cpp --symbol 9bad").status, 0);
  EXPECT_NE(Command("").status, 0);
}

}  // namespace
