// Splitting one line of a window description into tokens: bare words, quoted texts
// (UTF-8, with \\ \" \n \r \t and \xHH for a raw byte) and bracketed hex bytes [0A FF].
// A "#" outside a text starts a comment.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace template_compiler {

struct Token {
  enum Kind { Word, Text, Bytes } kind;
  // Word: as written. Text: a list of pieces, each UTF-8 to convert or one raw byte.
  // Bytes: the bytes.
  std::string value;
  struct Piece {
    bool raw;
    std::string bytes;
  };
  std::vector<Piece> pieces;
};

struct SyntaxError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::vector<Token> SplitLine(std::string_view line);

}  // namespace template_compiler
