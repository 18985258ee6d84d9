// The message box: a Qt dialog where a window system shows one, standard error otherwise.
#include "ui/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <cstdio>
#include <string>

#include "application_internal.h"
#include "codepage/codepage.h"
#include "ui/application.h"

namespace {

// Windows' caption for a message box that names none.
constexpr const char* kDefaultCaption = "Error";

QString FromGbk(const char* text) {
  return QString::fromStdU16String(codepage::GbkToUtf16(text));
}

QMessageBox::Icon IconOf(UINT type) {
  switch (type & 0xF0) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

void WriteToStandardError(const char* text, const char* caption) {
  std::string out = codepage::GbkToUtf8(caption);
  out += '\n';
  out += codepage::GbkToUtf8(text);
  out += '\n';
  std::fwrite(out.data(), 1, out.size(), stderr);
  std::fflush(stderr);
}

}  // namespace

int MessageBoxA(HWND /*owner: no window of ours has a handle to pass*/, LPCSTR text,
                LPCSTR caption, UINT type) {
  if (!text) text = "";
  if (!caption) caption = kDefaultCaption;

  if (!ui::IsHeadless()) ui::EnsureApplication();
  // Widgets live on the GUI thread only; from any other thread the box cannot be shown.
  if (ui::IsHeadless() || !ui::detail::OnGuiThread()) {
    WriteToStandardError(text, caption);
    return IDOK;
  }
  QMessageBox box(IconOf(type), FromGbk(caption), FromGbk(text), QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
  return IDOK;
}
