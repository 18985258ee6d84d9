#include "response_head.h"

#include <cstdlib>

#include "text.h"

namespace wininet {
namespace {
std::string_view WithoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}
}  // namespace

void ResponseHead::StartWith(std::string_view statusLine) {
  statusLine_ = std::string(Trim(WithoutLineEnd(statusLine)));
  headers_.clear();
  std::size_t space = statusLine_.find(' ');
  status_ = space == std::string::npos ? 0 : std::atoi(statusLine_.c_str() + space + 1);
}

void ResponseHead::AddLine(std::string_view line) {
  line = WithoutLineEnd(line);
  if (line.empty()) return;
  if ((line[0] == ' ' || line[0] == '\t') && !headers_.empty()) {
    std::string& value = headers_.back().second;
    value += ' ';
    value += Trim(line);
    return;
  }
  std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return;
  headers_.emplace_back(std::string(Trim(line.substr(0, colon))), std::string(Trim(line.substr(colon + 1))));
}

std::string ResponseHead::StatusText() const {
  std::size_t first = statusLine_.find(' ');
  if (first == std::string::npos) return "";
  std::size_t second = statusLine_.find(' ', first + 1);
  return second == std::string::npos ? "" : statusLine_.substr(second + 1);
}

std::string ResponseHead::RawCrlf() const {
  std::string raw = statusLine_ + "\r\n";
  for (const auto& [name, value] : headers_) raw += name + ": " + value + "\r\n";
  return raw + "\r\n";
}

std::string ResponseHead::RawNul() const {
  std::string raw = statusLine_;
  raw += '\0';
  for (const auto& [name, value] : headers_) {
    raw += name + ": " + value;
    raw += '\0';
  }
  return raw;
}

const std::string* ResponseHead::Find(std::string_view name, DWORD index) const {
  for (const auto& [n, value] : headers_) {
    if (EqualsIgnoreCase(n, name) && index-- == 0) return &value;
  }
  return nullptr;
}

}  // namespace wininet
