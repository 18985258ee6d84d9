// Colours and fonts of unit properties on Qt widgets.
#pragma once

#include <QPalette>
#include <QWidget>
#include <cstdint>
#include <string>

namespace runtime {

// colour is 0x00BBGGRR; a value with its top byte set (kDefaultColour) restores the
// application's colour for that role.
void ApplyColour(QWidget* widget, QPalette::ColorRole role, std::int32_t colour);
// A background colour also makes the widget paint its background.
void ApplyBackgroundColour(QWidget* widget, QPalette::ColorRole role, std::int32_t colour);
// Font bytes (font_data.h); empty or unreadable bytes restore the application's font.
void ApplyFont(QWidget* widget, const std::string& fontBytes);
// 0 left, 1 centre, 2 right and 0 top, 1 middle, 2 bottom.
Qt::Alignment AlignmentOf(std::int32_t horizontal, std::int32_t vertical);

}  // namespace runtime
