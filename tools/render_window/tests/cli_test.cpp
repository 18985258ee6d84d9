// The render_window command: a picture of a block's window, and damaged blocks refused
// with a message instead of a crash or a huge allocation.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/windows/template_format.h"
#include "runtime/windows/unit_types.h"
#include "testsupport/command_run.h"

namespace {

using testing::HasSubstr;
using testsupport::CommandRun;
using testsupport::ReadFile;
using testsupport::WriteFile;

CommandRun Command(const std::string& arguments) { return testsupport::RunCommand(RENDER_WINDOW, arguments); }

std::string TempPath(const std::string& name) { return testing::TempDir() + "render_window_cli_" + name; }

// A window with one button whose click is bound to the handler at that offset.
void WriteBlock(const std::string& path, std::int32_t handlerOffset) {
  runtime::UnitRecord window;
  window.id = 0x06010000;
  window.typeWord = runtime::unit_type::Window;
  window.width = 200;
  window.height = 100;
  window.flags = {0, 1, 0};
  runtime::UnitRecord button;
  button.id = 0x16010003;
  button.typeWord = runtime::unit_type::Button;
  button.left = button.top = 10;
  button.width = 80;
  button.height = 24;
  button.flags = {0, 5, 0};
  button.events = {{0, handlerOffset}};
  runtime::TemplateBlock block;
  block.windows.push_back({0x52010001, {{}, {}, {}, {window, button}}});
  std::vector<std::uint8_t> bytes = runtime::WriteTemplateBlock(block);
  WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

TEST(RenderWindowCommand, DrawsTheWindowAsAPng) {
  WriteBlock(TempPath("ok.block"), 8 * static_cast<std::int32_t>(sizeof(void (*)())));
  std::remove(TempPath("ok.png").c_str());
  CommandRun run = Command(TempPath("ok.block") + " " + TempPath("ok.png"));
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_THAT(run.output, HasSubstr("ok.png: 200x100"));
  EXPECT_EQ(ReadFile(TempPath("ok.png")).substr(0, 4), "\x89PNG");
}

TEST(RenderWindowCommand, RefusesHandlerOffsetsThatNameNoProcedure) {
  for (std::int32_t offset : {0x7FFFFFF8, -8, 3}) {
    WriteBlock(TempPath("bad.block"), offset);
    CommandRun run = Command(TempPath("bad.block") + " " + TempPath("bad.png"));
    EXPECT_EQ(run.status >> 8, 1) << offset << ": " << run.output;  // the tool's own failure, not a crash
    EXPECT_THAT(run.output, HasSubstr("handler offset " + std::to_string(offset) + " names no procedure"));
  }
}

}  // namespace
