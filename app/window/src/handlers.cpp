// MainWindow's three handlers: the resolve command, the copy on a left click into the
// download-address box, and the creation handler.
#include "app/base/main_window_units.h"
#include "app/base/runtime_calls.h"
#include "app/program_texts.h"
#include "app/resolvers/resolvers.h"
#include "app/text/text_primitives.h"
#include "app/window/program.h"
#include "runtime/core/core_library.h"

namespace app {
namespace {

using Resolver = runtime::Text (*)(const runtime::Text& link);

// One service: when its radio box is checked, its link goes to its resolver and the
// address comes back into the download-address box, written as it is (empty clears it).
void ResolveIfChecked(std::uint32_t radioBox, std::uint32_t linkBox, Resolver resolve) {
  if (ReadIntProperty(MainWindow, radioBox, CheckedProperty) != 1) return;
  runtime::Text link = ReadTextProperty(MainWindow, linkBox, ContentProperty);
  runtime::Text address = resolve(link);
  FreeBlock(link);
  WriteTextProperty(MainWindow, units::文件下载地址编辑框, ContentProperty, address);
  FreeBlock(address);
}

}  // namespace

runtime::HandlerResult OnResolveClicked(const std::int32_t*, std::int32_t) {
  ResolveIfChecked(units::单选框1, units::迅雷下载编辑框, ResolveXunleiLink);
  ResolveIfChecked(units::单选框2, units::百度下载编辑框, ResolveBaiduLink);
  ResolveIfChecked(units::单选框3, units::三六零下载编辑框, Resolve360Link);
  return {0, 0};
}

// No result declared: the click still reaches the box (caret, selection).
runtime::HandlerResult OnAddressBoxLeftDown(const std::int32_t*, std::int32_t) {
  runtime::Text address = ReadTextProperty(MainWindow, units::文件下载地址编辑框, ContentProperty);
  const bool empty = CompareText(address, kTexts.Empty) == 0;
  FreeBlock(address);
  if (empty) return {0, 0};
  address = ReadTextProperty(MainWindow, units::文件下载地址编辑框, ContentProperty);
  CallCore(runtime::core::command::SetClipboardText, {runtime::TextArg(address)});
  FreeBlock(address);
  return {0, 0};
}

runtime::HandlerResult OnMainWindowCreated(const std::int32_t*, std::int32_t) {
  WriteIntProperty(MainWindow, units::单选框1, CheckedProperty, 1);
  return {0, 0};
}

}  // namespace app
