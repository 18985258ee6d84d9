// The output forms of one link, each a complete piece of standard output.
#pragma once

#include <string>
#include <string_view>

#include "link_result.h"

namespace cli {

// "link: ...", "name: ...", "extension: ...", "size: ...", "hash: ...", "url: ...", a blank line.
std::string FormatLines(const LinkResult& result);
// The address and a line break; nothing when the link gave none.
std::string FormatUrl(const LinkResult& result);
// One JSON object on one line.
std::string FormatJson(const LinkResult& result);
// "curl -L -o NAME URL" (or -O when the service named no usable file); nothing without an address.
std::string FormatCurl(const LinkResult& result);
// aria2's input file: the address, then "  out=NAME"; nothing without an address.
std::string FormatAria2(const LinkResult& result);

// Quoted for a POSIX shell where needed (as Python's shlex.quote does).
std::string ShellQuote(std::string_view text);
// The service's file name made safe to save under: no directories, no control characters;
// empty when nothing usable is left ("", ".", "..").
std::string SafeFileName(std::string_view name);
// A JSON string literal, UTF-8 kept as it is.
std::string JsonString(std::string_view text);

}  // namespace cli
