// The request's header lines: those HttpOpenRequestA derives (Accept, Referer) and the
// caller's block given to HttpSendRequestA, turned into the list libcurl sends.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wininet {

struct HeaderLine {
  std::string name;
  std::string line;  // the whole line as given, without its line end
};

HeaderLine MakeHeader(std::string_view name, std::string_view value);

// Splits a block of "Name: value" lines (CR LF or LF ends; blank lines skipped; a NUL ends
// the block). False for a line without a name, a line that begins with white space (a fold)
// or a stray CR: nothing unsafe reaches the wire.
bool ParseHeaderBlock(std::string_view block, std::vector<HeaderLine>* lines);

// The caller's lines replace the derived lines of the same name and follow them.
std::vector<HeaderLine> MergeHeaders(const std::vector<HeaderLine>& derived, const std::vector<HeaderLine>& caller);

void RemoveHeaders(std::vector<HeaderLine>& headers, std::string_view name);
bool HasHeader(const std::vector<HeaderLine>& headers, std::string_view name);

// The lines in libcurl's syntax, plus what switches off the headers libcurl would add but
// WinInet does not send (an Accept of its own, Expect, a form Content-Type).
std::vector<std::string> CurlHeaderLines(const std::vector<HeaderLine>& headers, bool sendsBody);

}  // namespace wininet
