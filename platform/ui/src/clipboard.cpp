// The Windows clipboard calls over QClipboard. Only the GUI thread may open the clipboard,
// as QClipboard lives there; every other call needs it open and so fails elsewhere.
//
// The clipboard owns the global blocks it is given or hands out: one per text format, each
// remembering the text it stands for, so that it is handed out again while the clipboard
// still holds that text and freed when the text changes or the clipboard is emptied.
#include "ui/clipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QString>
#include <optional>

#include "application_internal.h"
#include "codepage/codepage.h"
#include "global_text.h"
#include "kernel/process.h"
#include "ui/application.h"
#include "win/errors.h"

namespace {

struct OwnedBlock {
  HGLOBAL handle = nullptr;
  QString text;  // what the clipboard held when the block was made or taken
};

struct ClipboardState {
  bool open = false;
  OwnedBlock ansi;     // CF_TEXT
  OwnedBlock unicode;  // CF_UNICODETEXT
};

// Touched on the GUI thread only.
ClipboardState& State() {
  static ClipboardState state;
  return state;
}

bool IsTextFormat(UINT format) { return format == CF_TEXT || format == CF_UNICODETEXT; }

OwnedBlock& BlockFor(UINT format) {
  return format == CF_TEXT ? State().ansi : State().unicode;
}

// Frees the block unless it is the one about to take its place.
void Replace(OwnedBlock& owned, HGLOBAL handle, QString text) {
  if (owned.handle && owned.handle != handle) GlobalFree(owned.handle);
  owned.handle = handle;
  owned.text = std::move(text);
}

void FreeOwnedBlocks() {
  Replace(State().ansi, nullptr, {});
  Replace(State().unicode, nullptr, {});
}

bool RequireOpen() {
  if (ui::detail::OnGuiThread() && State().open) return true;
  SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
  return false;
}

QClipboard* Clipboard() { return QGuiApplication::clipboard(); }

std::optional<QString> TextOfBlock(UINT format, HGLOBAL data) {
  if (format == CF_TEXT) {
    std::optional<std::string> gbk = ui::detail::ReadAnsiBlock(data);
    if (!gbk) return std::nullopt;
    return QString::fromStdU16String(codepage::GbkToUtf16(*gbk));
  }
  std::optional<std::u16string> utf16 = ui::detail::ReadUnicodeBlock(data);
  if (!utf16) return std::nullopt;
  return QString::fromStdU16String(*utf16);
}

HGLOBAL NewBlockOf(UINT format, const QString& text) {
  std::u16string utf16 = text.toStdU16String();
  if (format == CF_TEXT) return ui::detail::NewAnsiBlock(codepage::Utf16ToGbk(utf16));
  return ui::detail::NewUnicodeBlock(utf16);
}

}  // namespace

BOOL OpenClipboard(HWND /*owner*/) {
  if (!ui::HasApplication()) ui::EnsureApplication();
  if (!ui::detail::OnGuiThread() || State().open) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  State().open = true;
  return TRUE;
}

BOOL CloseClipboard() {
  if (!RequireOpen()) return FALSE;
  State().open = false;
  return TRUE;
}

BOOL EmptyClipboard() {
  if (!RequireOpen()) return FALSE;
  Clipboard()->clear();
  FreeOwnedBlocks();
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  if (!RequireOpen()) return nullptr;
  if (!IsTextFormat(format) || !data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::optional<QString> text = TextOfBlock(format, data);
  if (!text) {
    SetLastError(ERROR_INVALID_HANDLE);  // the caller keeps a block it could not hand over
    return nullptr;
  }
  Clipboard()->setText(*text);
  // A block belongs to one format; handing it over again for the other moves it.
  OwnedBlock& other = BlockFor(format == CF_TEXT ? CF_UNICODETEXT : CF_TEXT);
  if (other.handle == data) other = {};
  Replace(BlockFor(format), data, *text);
  return data;
}

HANDLE GetClipboardData(UINT format) {
  if (!RequireOpen()) return nullptr;
  if (!IsClipboardFormatAvailable(format)) return nullptr;
  QString text = Clipboard()->text();
  OwnedBlock& owned = BlockFor(format);
  if (owned.handle && owned.text == text) return owned.handle;
  HGLOBAL block = NewBlockOf(format, text);
  if (!block) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  Replace(owned, block, std::move(text));
  return block;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  if (!IsTextFormat(format) || !ui::detail::OnGuiThread()) return FALSE;
  const QMimeData* data = Clipboard()->mimeData();
  return data && data->hasText() ? TRUE : FALSE;
}
