// The real program in this process, and MainWindow's widgets as a user meets them: found
// by their places in the window, typed into and clicked with synthetic input. For the
// end-to-end tests and the picture of a resolved link.
#pragma once

#include <QAbstractButton>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>
#include <array>
#include <string>

namespace panlift_test {

// The program started once, as its entry procedure does it before the message loop, with
// its real procedures.
void StartProgramOnce();

struct MainWindowWidgets {
  QWidget* form = nullptr;
  std::array<QRadioButton*, 3> radio{};   // 迅雷快传, 百度网盘, 360网盘
  std::array<QLineEdit*, 3> link{};       // the input box beside each
  std::array<QLineEdit*, 5> details{};    // name, extension, size, hash, address
  QLineEdit* address = nullptr;           // details[4]
  QAbstractButton* resolve = nullptr;     // "解析"
};

// The visible MainWindow's widgets; nulls for what is not there.
MainWindowWidgets FindMainWindow();
// MainWindow closed and loaded afresh (its creation handler checks the first radio box).
MainWindowWidgets FreshMainWindow();
void CloseMainWindow();

void Click(QWidget* widget);
// Replaces the box's content as a user would: select all, type.
void TypeInto(QLineEdit* box, const std::string& utf8);
std::string Utf8(const QString& text);
// The five output boxes' contents, UTF-8.
std::array<std::string, 5> DetailTexts(const MainWindowWidgets& window);

}  // namespace panlift_test
