#include "appearance.h"

#include <QApplication>
#include <algorithm>

#include "qt_text.h"
#include "runtime/windows/font_data.h"

namespace runtime {
namespace {

bool IsSystemColour(std::int32_t colour) { return (static_cast<std::uint32_t>(colour) & 0xFF000000u) != 0; }

QColor ColourOf(std::int32_t colour) {
  auto c = static_cast<std::uint32_t>(colour);
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

}  // namespace

void ApplyColour(QWidget* widget, QPalette::ColorRole role, std::int32_t colour) {
  QPalette palette = widget->palette();
  palette.setColor(role, IsSystemColour(colour) ? QApplication::palette(widget).color(role) : ColourOf(colour));
  widget->setPalette(palette);
  widget->update();
}

void ApplyBackgroundColour(QWidget* widget, QPalette::ColorRole role, std::int32_t colour) {
  ApplyColour(widget, role, colour);
  widget->setAutoFillBackground(!IsSystemColour(colour));
}

void ApplyFont(QWidget* widget, const std::string& fontBytes) {
  QFont font = QApplication::font(widget);
  if (std::optional<FontData> data = DecodeFontData(fontBytes)) {
    if (!data->face.empty()) font.setFamily(FromGbk(data->face));
    if (data->pointSize > 0) font.setPointSize(data->pointSize);
    if (data->weight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp(data->weight, 1, 1000)));
    font.setItalic(data->style & FontData::Italic);
    font.setUnderline(data->style & FontData::Underline);
    font.setStrikeOut(data->style & FontData::StrikeOut);
  }
  widget->setFont(font);
}

Qt::Alignment AlignmentOf(std::int32_t horizontal, std::int32_t vertical) {
  Qt::Alignment h = horizontal == 1 ? Qt::AlignHCenter : horizontal == 2 ? Qt::AlignRight : Qt::AlignLeft;
  Qt::Alignment v = vertical == 1 ? Qt::AlignVCenter : vertical == 2 ? Qt::AlignBottom : Qt::AlignTop;
  return h | v;
}

}  // namespace runtime
