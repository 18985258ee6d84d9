#include "qt_text.h"

#include "codepage/codepage.h"

namespace runtime {
namespace {

int GbkWidth(const QString& text, int i) {
  // A surrogate pair has no GBK form: it becomes one "?".
  return text.at(i).unicode() < 0x80 ? 1 : static_cast<int>(ToGbk(text.mid(i, 1)).size());
}

}  // namespace

QString FromGbk(std::string_view gbk) {
  std::u16string wide = codepage::GbkToUtf16(gbk);
  return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

std::string ToGbk(const QString& text) {
  return codepage::Utf16ToGbk(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                  static_cast<std::size_t>(text.size())));
}

int GbkOffsetOf(const QString& text, int index) {
  int bytes = 0;
  for (int i = 0; i < index && i < text.size(); ++i) {
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
      bytes += 1;
      ++i;
      continue;
    }
    bytes += GbkWidth(text, i);
  }
  return bytes;
}

int IndexAtGbkOffset(const QString& text, int bytes) {
  int reached = 0;
  int i = 0;
  while (i < text.size()) {
    bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
    int width = pair ? 1 : GbkWidth(text, i);
    if (reached + width > bytes) break;
    reached += width;
    i += pair ? 2 : 1;
  }
  return i;
}

int GbkCharacterCode(QChar character) {
  if (character.unicode() < 0x80) return character.unicode();
  std::string gbk = ToGbk(QString(character));
  if (gbk.size() == 1) return static_cast<unsigned char>(gbk[0]);
  if (gbk.size() == 2) return static_cast<unsigned char>(gbk[0]) << 8 | static_cast<unsigned char>(gbk[1]);
  return '?';
}

QString FromGbkCharacterCode(int code) {
  std::string gbk;
  if (code > 0xFF) gbk.push_back(static_cast<char>((code >> 8) & 0xFF));
  gbk.push_back(static_cast<char>(code & 0xFF));
  return FromGbk(gbk);
}

}  // namespace runtime
