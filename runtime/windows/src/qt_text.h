// GBK texts at the edge to Qt, and positions in GBK bytes (how this system counts them).
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace runtime {

QString FromGbk(std::string_view gbk);
std::string ToGbk(const QString& text);

// Bytes of the GBK form of text[0, index).
int GbkOffsetOf(const QString& text, int index);
// The index in text where its GBK form reaches `bytes` (a double-byte character counts
// as reached only when both of its bytes are; past the end gives the length).
int IndexAtGbkOffset(const QString& text, int bytes);

// A typed character as a code: its GBK byte, or lead byte * 256 + trail byte.
int GbkCharacterCode(QChar character);
QString FromGbkCharacterCode(int code);

}  // namespace runtime
