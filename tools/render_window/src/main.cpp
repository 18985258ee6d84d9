// render_window: a window of a template block, made by the runtime's window layer on the
// offscreen platform, saved as a PNG.
//
//   render_window <template block> <out.png> [window id]   (default: the block's first window)
#include <QApplication>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/windows/template_format.h"
#include "runtime/windows/window_layer.h"
#include "runtime/windows/window_table.h"
#include "ui/application.h"
#include "ui/fonts.h"

namespace {

runtime::HandlerResult Nothing(const std::int32_t*, std::int32_t) { return {}; }

int Fail(const std::string& message) {
  std::cerr << "render_window: " << message << "\n";
  return 1;
}

// More procedures than any program has: a larger offset is a damaged block, not a reason
// to allocate gigabytes.
constexpr std::size_t kMaxProcedures = 65536;

// Handlers of a picture do nothing: as many no-op procedures as the block's offsets reach.
// Empty with the reason in `error` when an offset names no procedure.
std::vector<runtime::EventHandler> Procedures(const runtime::TemplateBlock& block, std::string& error) {
  constexpr auto kSize = static_cast<std::int32_t>(sizeof(runtime::EventHandler));
  std::size_t count = 1;
  auto reach = [&](std::uint32_t unitId, std::int32_t offset) {
    if (offset == runtime::kNoHandler) return true;
    if (offset < 0 || offset % kSize != 0 || static_cast<std::size_t>(offset / kSize) >= kMaxProcedures) {
      error = "unit " + std::to_string(unitId) + ": handler offset " + std::to_string(offset) + " names no procedure";
      return false;
    }
    count = std::max(count, static_cast<std::size_t>(offset / kSize) + 1);
    return true;
  };
  for (const auto& window : block.windows) {
    for (const runtime::UnitRecord& unit : window.form.units) {
      for (const runtime::EventBinding& binding : unit.events) {
        if (!reach(unit.id, binding.handler)) return {};
      }
      if (unit.IsShort() && !reach(unit.id, unit.shortHandler)) return {};
    }
  }
  return std::vector<runtime::EventHandler>(count, Nothing);
}


}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) return Fail("usage: render_window <template block> <out.png> [window id]");
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) return Fail(std::string("cannot read ") + argv[1]);
  std::ostringstream content;
  content << in.rdbuf();
  const std::string bytes = content.str();
  const std::span<const std::uint8_t> block(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());

  runtime::TemplateReadResult read = runtime::ReadTemplateBlock(block);
  if (!read.ok) return Fail(std::string(argv[1]) + ": " + read.error + " (at byte " + std::to_string(read.errorOffset) + ")");
  if (read.block.windows.empty()) return Fail(std::string(argv[1]) + " holds no window");
  std::uint32_t windowId = read.block.windows[0].id;
  if (argc == 4) windowId = static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 0));

  std::string error;
  const std::vector<runtime::EventHandler> procedures = Procedures(read.block, error);
  if (procedures.empty()) return Fail(std::string(argv[1]) + ": " + error);

  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ui::EnsureApplication();
  if (!ui::UseCjkFont()) {
    std::cerr << "render_window: no CJK font found (install fonts-wqy-microhei); Chinese shows as boxes\n";
  }
  runtime::InstallWindowLayer();
  runtime::WindowEntries windows = runtime::DeserialiseTemplates(block);
  runtime::RelocateHandlers(windows, procedures);
  runtime::InstallTemplates(std::move(windows));
  if (!runtime::FindWindow(windowId)) return Fail("no window " + std::to_string(windowId) + " in the block");
  runtime::LoadStartupWindow(windowId);
  for (int i = 0; i < 10; ++i) ui::HandleWaitingEvents();

  QWidget* form = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible()) form = widget;
  }
  if (!form) return Fail("the window did not show");
  QPixmap picture = form->grab();
  if (!picture.save(QString::fromLocal8Bit(argv[2]), "PNG")) return Fail(std::string("cannot write ") + argv[2]);
  std::cout << argv[2] << ": " << picture.width() << "x" << picture.height() << "\n";
  runtime::DestroyAllWindows();
  return 0;
}
