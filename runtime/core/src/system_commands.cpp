// System commands: the clipboard and the pump for waiting window messages.
#include <cstdint>
#include <cstring>

#include "core_command_args.h"
#include "kernel/process.h"
#include "runtime/core/commands.h"
#include "runtime/frame.h"
#include "ui/clipboard.h"

namespace runtime::core {
namespace {

// Hands a copy of the text, with its NUL, to the open clipboard as CF_TEXT.
bool PutTextOnOpenClipboard(std::string_view text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
  if (!block) return false;
  auto* bytes = static_cast<char*>(GlobalLock(block));
  if (!bytes) {
    GlobalFree(block);
    return false;
  }
  if (!text.empty()) std::memcpy(bytes, text.data(), text.size());
  bytes[text.size()] = '\0';
  GlobalUnlock(block);
  // The clipboard owns the block only once it has taken it.
  if (!SetClipboardData(CF_TEXT, block)) {
    GlobalFree(block);
    return false;
  }
  return true;
}

}  // namespace

void SetClipboardText(CommandResult* result, std::int32_t argc, CommandArg* args) {
  const std::string_view text = CommandArgs(argc, args).Text(0);
  if (!OpenClipboard(nullptr)) return SetBoolResult(result, false);
  EmptyClipboard();
  const bool placed = PutTextOnOpenClipboard(text);
  CloseClipboard();
  SetBoolResult(result, placed);
}

void ProcessEvents(CommandResult*, std::int32_t, CommandArg*) {
  RuntimeNotify(notify::HandleWaitingMessages, 0, 0);
}

}  // namespace runtime::core
