// The clipboard, as the Windows clipboard calls reach it, over QClipboard. CF_TEXT data
// is GBK and converted to and from Unicode at this edge.
#pragma once

#include "win/types.h"

inline constexpr UINT CF_TEXT = 1;
inline constexpr UINT CF_UNICODETEXT = 13;

BOOL OpenClipboard(HWND owner);         // FALSE while it is open already
BOOL CloseClipboard();
BOOL EmptyClipboard();                  // only while open
// Takes ownership of a GlobalAlloc block (TRUE -> the handle, failure -> null); only
// while open. The text is the block's bytes up to the first NUL.
HANDLE SetClipboardData(UINT format, HANDLE data);
// A global block owned by the clipboard (valid until the clipboard changes); only while open.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
