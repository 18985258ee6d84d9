#include "gbk_text.h"

#include <algorithm>
#include <cstdio>

#include "codepage/codepage.h"
#include "codepage/gbk_walk.h"

namespace template_compiler {
namespace {

// The first character that does not survive UTF-8 -> GBK -> UTF-8, for the message.
std::string FirstUnwritable(const std::string& utf8) {
  std::size_t i = 0;
  while (i < utf8.size()) {
    std::size_t length = 1;
    auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead >= 0xF0) length = 4;
    else if (lead >= 0xE0) length = 3;
    else if (lead >= 0xC0) length = 2;
    std::string character = utf8.substr(i, length);
    if (codepage::GbkToUtf8(codepage::Utf8ToGbk(character)) != character) return character;
    i += length;
  }
  return {};
}

std::string EscapeByte(unsigned char b) {
  char text[8];
  std::snprintf(text, sizeof text, "\\x%02X", b);
  return text;
}

}  // namespace

std::string TextToGbk(const Token& text) {
  std::string gbk;
  for (const Token::Piece& piece : text.pieces) {
    if (piece.raw) {
      gbk += piece.bytes;
      continue;
    }
    std::string converted = codepage::Utf8ToGbk(piece.bytes);
    if (codepage::GbkToUtf8(converted) != piece.bytes) {
      std::string bad = FirstUnwritable(piece.bytes);
      bool validUtf8 = codepage::Utf16ToUtf8(codepage::Utf8ToUtf16(bad)) == bad;
      throw SyntaxError(validUtf8 ? "\"" + bad + "\" cannot be written in GBK" : "the text is not valid UTF-8");
    }
    gbk += converted;
  }
  return gbk;
}

std::string QuoteGbk(std::string_view gbk) {
  std::string out = "\"";
  std::size_t i = 0;
  while (i < gbk.size()) {
    auto b = static_cast<unsigned char>(gbk[i]);
    // As the code page walks it: a lead byte without a trail is no character and comes out
    // escaped.
    std::size_t length = std::max<std::size_t>(codepage::GbkCharWidth(gbk, i, codepage::GbkLeads::CodePage), 1);
    std::string_view character = gbk.substr(i, length);
    i += length;
    if (length == 1 && b < 0x80) {
      switch (b) {
        case '\\': out += "\\\\"; continue;
        case '"': out += "\\\""; continue;
        case '\n': out += "\\n"; continue;
        case '\r': out += "\\r"; continue;
        case '\t': out += "\\t"; continue;
        default:
          if (b < 0x20 || b == 0x7F) out += EscapeByte(b);
          else out.push_back(static_cast<char>(b));
          continue;
      }
    }
    std::string utf8 = codepage::GbkToUtf8(character);
    if (codepage::Utf8ToGbk(utf8) == character) {
      out += utf8;
    } else {
      for (char c : character) out += EscapeByte(static_cast<unsigned char>(c));
    }
  }
  return out + "\"";
}

}  // namespace template_compiler
