// The template_compiler command itself: its outputs and its exit codes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "runtime/windows/template_format.h"

namespace {

using testing::HasSubstr;

struct CommandRun {
  int status;
  std::string output;  // standard output and standard error
};

CommandRun Command(const std::string& arguments) {
  std::string command = std::string(TEMPLATE_COMPILER) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  CommandRun run{-1, {}};
  if (!pipe) return run;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, n);
  run.status = pclose(pipe);
  return run;
}

std::string TempPath(const std::string& name) { return testing::TempDir() + "template_compiler_cli_" + name; }

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

constexpr const char* kForm = "window 0x52010009\n  unit 0x06010000 window \"\"\n    caption \"标题\"\n";

TEST(TemplateCompilerCommand, CompilesAndDumps) {
  Write(TempPath("ok.form"), kForm);
  CommandRun compile = Command(TempPath("ok.form") + " -o " + TempPath("ok.block"));
  ASSERT_EQ(compile.status, 0) << compile.output;
  std::string block = Read(TempPath("ok.block"));
  EXPECT_TRUE(runtime::ReadTemplateBlock(std::span(reinterpret_cast<const std::uint8_t*>(block.data()), block.size())).ok);

  CommandRun dump = Command("--dump " + TempPath("ok.block"));
  ASSERT_EQ(dump.status, 0) << dump.output;
  EXPECT_THAT(dump.output, HasSubstr(std::to_string(block.size()) + " bytes"));
  EXPECT_THAT(dump.output, HasSubstr("window 0x52010009"));
  EXPECT_THAT(dump.output, HasSubstr("caption \"标题\""));
}

TEST(TemplateCompilerCommand, WritesACppArray) {
  Write(TempPath("cpp.form"), kForm);
  CommandRun compile = Command(TempPath("cpp.form") + " --cpp " + TempPath("out.cpp") + " --symbol app::forms::kTest");
  ASSERT_EQ(compile.status, 0) << compile.output;
  std::string source = Read(TempPath("out.cpp"));
  EXPECT_THAT(source, HasSubstr("namespace app::forms {"));
  EXPECT_THAT(source, HasSubstr("const unsigned char kTest[] = {"));
  EXPECT_THAT(source, HasSubstr("const std::size_t kTestSize = "));
}

TEST(TemplateCompilerCommand, FailsClearly) {
  Write(TempPath("bad.form"), "window 1\n  unit 2 window \"\"\n    captoin \"x\"\n");
  CommandRun bad = Command(TempPath("bad.form") + " -o " + TempPath("bad.block"));
  EXPECT_NE(bad.status, 0);
  EXPECT_THAT(bad.output, HasSubstr("bad.form:3: unknown window property 'captoin'"));

  Write(TempPath("damaged.block"), std::string("\x08\0\0\0\x01", 5));
  CommandRun damaged = Command("--dump " + TempPath("damaged.block"));
  EXPECT_NE(damaged.status, 0);
  EXPECT_THAT(damaged.output, HasSubstr("not a readable template block"));

  EXPECT_NE(Command(TempPath("ok.form") + " --cpp x.cpp --symbol 9bad").status, 0);
  EXPECT_NE(Command("").status, 0);
}

}  // namespace
