#include "batch.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include "codepage/codepage.h"

namespace cli {
namespace {

std::string_view Trim(std::string_view line) {
  constexpr std::string_view kBlank = " \t\r\v\f";
  std::size_t first = line.find_first_not_of(kBlank);
  if (first == std::string_view::npos) return {};
  return line.substr(first, line.find_last_not_of(kBlank) - first + 1);
}

// Links go into JSON and into the window as UTF-8: a broken sequence becomes U+FFFD here,
// once, so every output shows the same text.
std::string ValidUtf8(std::string_view text) { return codepage::Utf16ToUtf8(codepage::Utf8ToUtf16(text)); }

// The whole stream; none on a read error (a directory, a device that fails), errno kept.
std::optional<std::string> ReadAll(std::FILE* in) {
  std::string text;
  char buffer[65536];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, in)) text.append(buffer, n);
  if (std::ferror(in)) return std::nullopt;
  return text;
}

std::string Unreadable(const std::string& path, int error) {
  return "cannot read batch file " + path + ": " + std::strerror(error);
}

}  // namespace

std::vector<std::string> ReadBatch(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a byte-order mark
  std::vector<std::string> links;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.empty() || line.front() == '#') continue;
    links.push_back(ValidUtf8(line));
  }
  return links;
}

CollectedLinks CollectLinks(const std::vector<LinkSource>& sources, std::FILE* standardInput) {
  CollectedLinks collected;
  for (const LinkSource& source : sources) {
    if (!source.batchFile) {
      collected.links.push_back(ValidUtf8(source.text));
      continue;
    }
    std::optional<std::string> text;
    if (source.text == "-") {
      text = ReadAll(standardInput);
    } else if (std::FILE* file = std::fopen(source.text.c_str(), "rb")) {
      text = ReadAll(file);
      int error = errno;
      std::fclose(file);
      errno = error;
    }
    if (!text) {
      collected.error = Unreadable(source.text, errno);
      return collected;
    }
    std::vector<std::string> links = ReadBatch(*text);
    collected.links.insert(collected.links.end(), links.begin(), links.end());
  }
  return collected;
}

}  // namespace cli
