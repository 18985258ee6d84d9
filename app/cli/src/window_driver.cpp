#include "window_driver.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <cstdint>

#include "app/base/main_window_units.h"
#include "codepage/codepage.h"
#include "runtime/frame.h"
#include "runtime/windows/unit_widget_lookup.h"
#include "runtime/windows/window_layer.h"

namespace cli {
namespace {

namespace u = app::units;

struct ServiceUnits {
  std::uint32_t radioBox;
  std::uint32_t linkBox;
};

ServiceUnits UnitsOf(Service service) {
  switch (service) {
    case Service::Xunlei: return {u::单选框1, u::迅雷下载编辑框};
    case Service::Baidu: return {u::单选框2, u::百度下载编辑框};
    case Service::Yunpan360: return {u::单选框3, u::三六零下载编辑框};
  }
  return {u::单选框1, u::迅雷下载编辑框};
}

constexpr std::uint32_t kOutputBoxes[] = {u::文件名称编辑框, u::文件扩展名编辑框, u::文件大小编辑框, u::文件md5编辑框,
                                          u::文件下载地址编辑框};

template <class Widget>
Widget* Live(std::uint32_t unitId) {
  return qobject_cast<Widget*>(runtime::FindUnitWidget(app::MainWindow, unitId));
}

// A box's content as the program reads it (GBK), in UTF-8.
std::string BoxText(std::uint32_t unitId) {
  const std::uint64_t bits = runtime::ReadProperty(app::MainWindow, unitId, app::ContentProperty, -1);
  char* text = reinterpret_cast<char*>(static_cast<std::uintptr_t>(bits));
  std::string utf8 = text ? codepage::GbkToUtf8(text) : std::string();
  runtime::FreeBlock(text);
  return utf8;
}

// A left click at a point of the widget, as the window system delivers one.
void Click(QWidget* widget, QPoint at) {
  const QPointF local(at), global(widget->mapToGlobal(at));
  QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}

void Key(QWidget* widget, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &release);
}

// Typed in as a user would: everything in the box selected and deleted, then the link
// character by character (any character: a key event carries its text).
void TypeInto(QLineEdit* box, const std::string& link) {
  box->setFocus(Qt::MouseFocusReason);
  box->selectAll();
  Key(box, Qt::Key_Delete);
  const QString text = QString::fromUtf8(link);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    Key(box, Qt::Key_unknown, text.mid(i, length));
    i += length - 1;
  }
}

}  // namespace

LinkResult ResolveInWindow(Service service, const std::string& link) {
  LinkResult result;
  result.link = link;
  result.service = service;

  // Nothing of an earlier link may show in this one's output.
  for (std::uint32_t box : kOutputBoxes) runtime::WriteProperty(app::MainWindow, box, app::ContentProperty, -1, 0, 0);

  const ServiceUnits units = UnitsOf(service);
  auto* radioBox = Live<QRadioButton>(units.radioBox);
  auto* linkBox = Live<QLineEdit>(units.linkBox);
  auto* button = Live<QPushButton>(u::按钮1);
  if (!radioBox || !linkBox || !button) return result;  // the window is gone: nothing resolved

  // A click selects this service's box and clears the others, as it does for a user; the
  // handler runs every checked service, so no other may stay checked.
  if (!radioBox->isChecked()) Click(radioBox, QPoint(8, radioBox->height() / 2));  // on the indicator
  for (Service other : kServices) {
    const std::uint32_t box = UnitsOf(other).radioBox;
    const bool wanted = other == service;
    if (runtime::ReadProperty(app::MainWindow, box, app::CheckedProperty, -1) != (wanted ? 1u : 0u)) {
      runtime::WriteProperty(app::MainWindow, box, app::CheckedProperty, -1, wanted ? 1 : 0, 0);
    }
  }
  TypeInto(linkBox, link);
  Click(button, button->rect().center());  // the resolve runs inside the click

  result.name = BoxText(u::文件名称编辑框);
  result.extension = BoxText(u::文件扩展名编辑框);
  result.size = BoxText(u::文件大小编辑框);
  result.hash = BoxText(u::文件md5编辑框);
  result.url = BoxText(u::文件下载地址编辑框);
  return result;
}

}  // namespace cli
