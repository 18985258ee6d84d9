// A left click into the download-address box: the whole content goes to the clipboard,
// whatever the user made of it; an empty box leaves the clipboard alone.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include "app/testing/program_window.h"

namespace {

using panlift_test::FreshMainWindow;
using panlift_test::TypeInto;
using panlift_test::Utf8;

void ClickNearTheStart(QLineEdit* box) { QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(3, 12)); }

std::string ClipboardText() { return Utf8(QGuiApplication::clipboard()->text()); }

TEST(AddressBoxClick, CopiesTheWholeContentAlsoAfterTheUserEditedIt) {
  auto window = FreshMainWindow();
  ASSERT_NE(window.address, nullptr);
  QGuiApplication::clipboard()->setText("earlier");
  TypeInto(window.address, "http://dl.example/共享文件.zip?k=1");
  ClickNearTheStart(window.address);
  EXPECT_EQ(ClipboardText(), "http://dl.example/共享文件.zip?k=1");

  window.address->end(false);
  QTest::keyClicks(window.address, "&t=2");
  QTest::mouseClick(window.address, Qt::LeftButton, Qt::ShiftModifier, QPoint(40, 12));
  EXPECT_EQ(ClipboardText(), "http://dl.example/共享文件.zip?k=1&t=2") << "a selection made by the click is not what is copied";
}

TEST(AddressBoxClick, AnEmptyBoxLeavesTheClipboardAsItWas) {
  auto window = FreshMainWindow();
  ASSERT_NE(window.address, nullptr);
  QGuiApplication::clipboard()->setText("kept");
  ClickNearTheStart(window.address);
  EXPECT_EQ(ClipboardText(), "kept");
}

}  // namespace
