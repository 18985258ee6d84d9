#include "app/testing/program_window.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QTest>
#include <map>
#include <utility>

#include "app/testing/program_test.h"
#include "app/window/program.h"
#include "runtime/startup/start.h"
#include "ui/application.h"

namespace panlift_test {
namespace {

using Place = std::pair<int, int>;
// The controls' places in the window, as its template holds them.
constexpr Place kRadio[3] = {{16, 16}, {17, 55}, {16, 96}};
constexpr Place kLink[3] = {{104, 16}, {104, 56}, {104, 88}};
constexpr Place kDetails[5] = {{104, 126}, {104, 158}, {104, 190}, {104, 222}, {104, 254}};
constexpr Place kResolve = {144, 286};

}  // namespace

void StartProgramOnce() {
  static const bool started = [] {
    ui::EnsureApplication();
    runtime::InstallRuntimeParts();
    app::StartProgram();
    return true;
  }();
  (void)started;
}

MainWindowWidgets FindMainWindow() {
  MainWindowWidgets window;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible()) window.form = widget;
  }
  if (!window.form) return window;
  std::map<Place, QWidget*> controls;
  for (QWidget* control : window.form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    controls[{control->x(), control->y()}] = control;
  }
  auto at = [&](Place place) { return controls.count(place) ? controls[place] : nullptr; };
  for (int i = 0; i < 3; ++i) {
    window.radio[i] = qobject_cast<QRadioButton*>(at(kRadio[i]));
    window.link[i] = qobject_cast<QLineEdit*>(at(kLink[i]));
  }
  for (int i = 0; i < 5; ++i) window.details[i] = qobject_cast<QLineEdit*>(at(kDetails[i]));
  window.address = window.details[4];
  window.resolve = qobject_cast<QPushButton*>(at(kResolve));
  return window;
}

MainWindowWidgets FreshMainWindow() {
  StartProgramOnce();
  app::testing::LoadMainWindow();
  return FindMainWindow();
}

void CloseMainWindow() { app::testing::CloseMainWindow(); }

void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center()); }

void TypeInto(QLineEdit* box, const std::string& utf8) {
  box->setFocus();
  box->selectAll();
  if (utf8.empty()) {
    QTest::keyClick(box, Qt::Key_Delete);
    return;
  }
  // Keys for ASCII; what else a user types comes from the input method, as a commit.
  for (QChar c : QString::fromStdString(utf8)) {
    if (c.unicode() < 0x80) {
      QTest::keyClicks(box, QString(c));
    } else {
      QInputMethodEvent commit;
      commit.setCommitString(QString(c));
      QApplication::sendEvent(box, &commit);
    }
  }
}

std::string Utf8(const QString& text) { return text.toStdString(); }

std::array<std::string, 5> DetailTexts(const MainWindowWidgets& window) {
  std::array<std::string, 5> texts;
  for (int i = 0; i < 5; ++i) texts[i] = window.details[i] ? Utf8(window.details[i]->text()) : "(missing)";
  return texts;
}

}  // namespace panlift_test
