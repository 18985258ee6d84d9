// The clipboard calls over QClipboard: open/close rules, GBK at the edge, block ownership.
#include "ui/clipboard.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <cstring>
#include <string>
#include <thread>

#include "kernel/process.h"
#include "win/errors.h"

namespace {

// "迅雷快传 link" and "百度网盘" in GBK.
constexpr const char* kXunleiGbk = "\xD1\xB8\xC0\xD7\xBF\xEC\xB4\xAB link";
constexpr const char* kBaiduGbk = "\xB0\xD9\xB6\xC8\xCD\xF8\xC5\xCC";

HGLOBAL NewBlock(const void* bytes, SIZE_T size, UINT flags = GMEM_MOVEABLE | GMEM_ZEROINIT) {
  HGLOBAL block = GlobalAlloc(flags, size);
  void* data = GlobalLock(block);
  std::memcpy(data, bytes, size);
  GlobalUnlock(block);
  return block;
}

HGLOBAL NewTextBlock(const char* text) { return NewBlock(text, std::strlen(text) + 1); }

std::string AnsiOf(HGLOBAL block) {
  const char* data = static_cast<const char*>(GlobalLock(block));
  std::string text = data ? data : "(not lockable)";
  GlobalUnlock(block);
  return text;
}

std::u16string UnicodeOf(HGLOBAL block) {
  const auto* data = static_cast<const char16_t*>(GlobalLock(block));
  std::u16string text = data ? data : u"(not lockable)";
  GlobalUnlock(block);
  return text;
}

QString QtText() { return QGuiApplication::clipboard()->text(); }

class Clipboard : public ::testing::Test {
 protected:
  void SetUp() override { QGuiApplication::clipboard()->clear(); }
  void TearDown() override {
    // Leaves the clipboard closed and its blocks freed for the next test.
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      CloseClipboard();
    }
  }
};

// The sequence the clipboard command runs.
bool PutText(const char* gbk) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HANDLE handed = SetClipboardData(CF_TEXT, NewTextBlock(gbk));
  CloseClipboard();
  return handed != nullptr;
}

TEST_F(Clipboard, GbkTextGoesToQtAsUnicodeAndComesBackAsGbk) {
  ASSERT_TRUE(PutText(kXunleiGbk));
  EXPECT_EQ(QtText(), QString::fromUtf8("迅雷快传 link"));

  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  HANDLE data = GetClipboardData(CF_TEXT);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(AnsiOf(data), kXunleiGbk);
  HANDLE unicode = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(unicode, nullptr);
  EXPECT_EQ(UnicodeOf(unicode), u"迅雷快传 link");
  EXPECT_TRUE(CloseClipboard());
}

TEST_F(Clipboard, TextPutThereByQtReadsBackAsGbk) {
  QGuiApplication::clipboard()->setText(QString::fromUtf8("百度网盘"));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));  // no need to open for asking
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_TEXT);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(AnsiOf(data), kBaiduGbk);
  EXPECT_EQ(GlobalSize(data), std::strlen(kBaiduGbk) + 1);
  EXPECT_EQ(GetClipboardData(CF_TEXT), data);  // the same block while the text stays

  QGuiApplication::clipboard()->setText("changed");
  HANDLE changed = GetClipboardData(CF_TEXT);
  ASSERT_NE(changed, nullptr);
  EXPECT_EQ(AnsiOf(changed), "changed");
  CloseClipboard();
}

TEST_F(Clipboard, UnicodeTextGoesInToo) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  const char16_t text[] = u"百度网盘";
  ASSERT_NE(SetClipboardData(CF_UNICODETEXT, NewBlock(text, sizeof text)), nullptr);
  EXPECT_EQ(QtText(), QString::fromUtf8("百度网盘"));
  EXPECT_EQ(AnsiOf(GetClipboardData(CF_TEXT)), kBaiduGbk);
  CloseClipboard();
}

TEST_F(Clipboard, AnEmptiedClipboardHoldsNoText) {
  ASSERT_TRUE(PutText("something"));
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_TRUE(EmptyClipboard());
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  EXPECT_TRUE(QtText().isEmpty());
  CloseClipboard();
}

TEST_F(Clipboard, OpeningTwiceFailsAndClosingTwiceFails) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  SetLastError(0);
  EXPECT_FALSE(OpenClipboard(nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(CloseClipboard());
  SetLastError(0);
  EXPECT_FALSE(CloseClipboard());
  EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
  EXPECT_TRUE(OpenClipboard(nullptr));  // open again after closing
  EXPECT_TRUE(CloseClipboard());
}

TEST_F(Clipboard, CallsThatNeedTheOpenClipboardFailWhileItIsClosed) {
  QGuiApplication::clipboard()->setText("kept");
  HGLOBAL block = NewTextBlock("refused");

  SetLastError(0);
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
  SetLastError(0);
  EXPECT_EQ(SetClipboardData(CF_TEXT, block), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
  SetLastError(0);
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);

  EXPECT_EQ(QtText(), "kept");
  EXPECT_EQ(GlobalFree(block), nullptr);  // a refused block stays the caller's
}

TEST_F(Clipboard, OnlyTheGuiThreadCanOpenIt) {
  BOOL opened = TRUE;
  DWORD error = 0;
  std::thread other([&] {
    opened = OpenClipboard(nullptr);
    error = GetLastError();
  });
  other.join();
  EXPECT_FALSE(opened);
  EXPECT_EQ(error, ERROR_ACCESS_DENIED);
  ASSERT_TRUE(OpenClipboard(nullptr));  // the failed attempt left it closed
  CloseClipboard();
}

TEST_F(Clipboard, OtherThreadsCannotUseTheClipboardTheGuiThreadOpened) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE got = reinterpret_cast<HANDLE>(1);
  BOOL emptied = TRUE;
  std::thread other([&] {
    got = GetClipboardData(CF_TEXT);
    emptied = EmptyClipboard();
  });
  other.join();
  EXPECT_EQ(got, nullptr);
  EXPECT_FALSE(emptied);
  EXPECT_TRUE(CloseClipboard());
}

TEST_F(Clipboard, UnsupportedDataIsRefusedAndStaysTheCallers) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  HGLOBAL block = NewTextBlock("x");
  const UINT kBitmap = 2;
  SetLastError(0);
  EXPECT_EQ(SetClipboardData(kBitmap, block), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr);
  EXPECT_FALSE(IsClipboardFormatAvailable(kBitmap));
  EXPECT_EQ(GetClipboardData(kBitmap), nullptr);
  CloseClipboard();
  EXPECT_EQ(GlobalFree(block), nullptr);
}

// Ownership faults show under the sanitizer: a block not freed when replaced leaks, one
// freed while still held is read after its end.
TEST_F(Clipboard, OwnsTheBlocksItTakesAndFreesThemWhenReplaced) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  HGLOBAL first = NewTextBlock("first");
  ASSERT_EQ(SetClipboardData(CF_TEXT, first), first);
  EXPECT_EQ(GetClipboardData(CF_TEXT), first);  // its own block handed back

  HGLOBAL second = NewTextBlock("second");
  ASSERT_EQ(SetClipboardData(CF_TEXT, second), second);  // frees the first
  ASSERT_EQ(SetClipboardData(CF_TEXT, second), second);  // the same block again: kept
  EXPECT_EQ(AnsiOf(GetClipboardData(CF_TEXT)), "second");
  EXPECT_EQ(QtText(), "second");

  // A block handed over for one format and then for the other belongs to the second.
  HGLOBAL both = NewBlock(u"ab", sizeof u"ab");
  ASSERT_EQ(SetClipboardData(CF_UNICODETEXT, both), both);
  ASSERT_EQ(SetClipboardData(CF_TEXT, both), both);  // read as GBK "a" (then NUL)
  EXPECT_EQ(QtText(), "a");
  EXPECT_TRUE(EmptyClipboard());  // frees it once
  CloseClipboard();
}

TEST_F(Clipboard, ReadsABlockWithoutNulOnlyToItsEnd) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  HGLOBAL block = NewBlock("abc", 3, GMEM_MOVEABLE);
  ASSERT_EQ(SetClipboardData(CF_TEXT, block), block);
  EXPECT_EQ(QtText(), "abc");
  CloseClipboard();
}

}  // namespace
