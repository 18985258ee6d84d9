#include "request_headers.h"

#include <algorithm>

#include "text.h"

namespace wininet {

HeaderLine MakeHeader(std::string_view name, std::string_view value) {
  return {std::string(name), std::string(name) + ": " + std::string(value)};
}

bool ParseHeaderBlock(std::string_view block, std::vector<HeaderLine>* lines) {
  block = block.substr(0, block.find('\0'));
  while (!block.empty()) {
    std::size_t end = block.find('\n');
    std::string_view line = block.substr(0, end);
    block = end == std::string_view::npos ? std::string_view{} : block.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || line.find('\r') != std::string_view::npos || line[0] == ' ' ||
        line[0] == '\t') {
      return false;
    }
    std::string_view name = line.substr(0, colon);
    if (name.empty()) return false;
    for (unsigned char c : name) {
      if (c <= 0x20 || c >= 0x7F) return false;  // a name is one token
    }
    lines->push_back({std::string(name), std::string(line)});
  }
  return true;
}

std::vector<HeaderLine> MergeHeaders(const std::vector<HeaderLine>& derived, const std::vector<HeaderLine>& caller) {
  std::vector<HeaderLine> merged;
  for (const HeaderLine& h : derived) {
    if (!HasHeader(caller, h.name)) merged.push_back(h);
  }
  merged.insert(merged.end(), caller.begin(), caller.end());
  return merged;
}

void RemoveHeaders(std::vector<HeaderLine>& headers, std::string_view name) {
  std::erase_if(headers, [name](const HeaderLine& h) { return EqualsIgnoreCase(h.name, name); });
}

bool HasHeader(const std::vector<HeaderLine>& headers, std::string_view name) {
  return std::any_of(headers.begin(), headers.end(), [name](const HeaderLine& h) { return EqualsIgnoreCase(h.name, name); });
}

std::vector<std::string> CurlHeaderLines(const std::vector<HeaderLine>& headers, bool sendsBody) {
  std::vector<std::string> lines;
  for (const HeaderLine& h : headers) {
    // libcurl reads "Name:" with nothing after it as "do not send Name"; "Name;" sends it empty.
    if (Trim(std::string_view(h.line).substr(h.name.size() + 1)).empty()) {
      lines.push_back(h.name + ";");
    } else {
      lines.push_back(h.line);
    }
  }
  if (!HasHeader(headers, "Accept")) lines.push_back("Accept:");
  if (!HasHeader(headers, "Expect")) lines.push_back("Expect:");
  if (sendsBody && !HasHeader(headers, "Content-Type")) lines.push_back("Content-Type:");
  return lines;
}

}  // namespace wininet
