// Texts between the description (UTF-8) and the block (GBK).
#pragma once

#include <string>
#include <string_view>

#include "lexer.h"

namespace template_compiler {

// The GBK bytes of a text token; a character that GBK cannot hold is a SyntaxError.
std::string TextToGbk(const Token& text);

// A GBK text as a quoted description text that TextToGbk turns back into the same bytes:
// what does not convert both ways is written as \xHH.
std::string QuoteGbk(std::string_view gbk);

}  // namespace template_compiler
