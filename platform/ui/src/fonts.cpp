#include "ui/fonts.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace ui {

bool UseCjkFont() {
  for (const char* family : {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Noto Sans SC"}) {
    if (QFontDatabase::families().contains(QString::fromLatin1(family))) {
      QFont font(QString::fromLatin1(family));
      font.setPointSize(9);
      QApplication::setFont(font);
      return true;
    }
  }
  return false;
}

}  // namespace ui
