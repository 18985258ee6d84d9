#include "lexer.h"

#include <cctype>

namespace template_compiler {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

Token ReadText(std::string_view line, std::size_t& i) {
  Token token{Token::Text, {}, {}};
  auto literal = [&](char c) {
    if (token.pieces.empty() || token.pieces.back().raw) token.pieces.push_back({false, {}});
    token.pieces.back().bytes.push_back(c);
  };
  ++i;  // the opening quote
  for (;;) {
    if (i >= line.size()) throw SyntaxError("text without its closing quote");
    char c = line[i++];
    if (c == '"') break;
    if (c != '\\') {
      literal(c);
      continue;
    }
    if (i >= line.size()) throw SyntaxError("text without its closing quote");
    char e = line[i++];
    switch (e) {
      case '\\': literal('\\'); break;
      case '"': literal('"'); break;
      case 'n': literal('\n'); break;
      case 'r': literal('\r'); break;
      case 't': literal('\t'); break;
      case 'x': {
        int high = i < line.size() ? HexDigit(line[i]) : -1;
        int low = i + 1 < line.size() ? HexDigit(line[i + 1]) : -1;
        if (high < 0 || low < 0) throw SyntaxError("\\x needs two hex digits");
        i += 2;
        token.pieces.push_back({true, std::string(1, static_cast<char>(high * 16 + low))});
        break;
      }
      default: throw SyntaxError(std::string("unknown escape \\") + e + " in a text");
    }
  }
  return token;
}

Token ReadBytes(std::string_view line, std::size_t& i) {
  Token token{Token::Bytes, {}, {}};
  ++i;  // the opening bracket
  std::string digits;
  for (;;) {
    if (i >= line.size()) throw SyntaxError("bytes without their closing ]");
    char c = line[i++];
    if (c == ']') break;
    if (IsSpace(c)) continue;
    if (HexDigit(c) < 0) throw SyntaxError(std::string("'") + c + "' is not a hex digit in [bytes]");
    digits.push_back(c);
  }
  if (digits.size() % 2 != 0) throw SyntaxError("odd number of hex digits in [bytes]");
  for (std::size_t d = 0; d < digits.size(); d += 2) {
    token.value.push_back(static_cast<char>(HexDigit(digits[d]) * 16 + HexDigit(digits[d + 1])));
  }
  return token;
}

}  // namespace

std::vector<Token> SplitLine(std::string_view line) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (IsSpace(c)) {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      tokens.push_back(ReadText(line, i));
    } else if (c == '[') {
      tokens.push_back(ReadBytes(line, i));
    } else {
      std::size_t start = i;
      while (i < line.size() && !IsSpace(line[i]) && line[i] != '"' && line[i] != '[' && line[i] != '#') ++i;
      tokens.push_back({Token::Word, std::string(line.substr(start, i - start)), {}});
    }
  }
  return tokens;
}

}  // namespace template_compiler
