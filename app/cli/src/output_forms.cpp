#include "output_forms.h"

#include <cstdio>

#include "win/ascii_case.h"

namespace cli {
namespace {

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// A box's text on one line of output.
std::string OneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return line;
}

// What a downloader is handed: spaces and control characters would split or end the
// address in a command or an input file, so they are escaped as a URL allows.
std::string CommandUrl(std::string_view url) {
  std::string out;
  for (unsigned char c : url) {
    if (IsControl(c) || c == ' ') {
      char escape[4];
      std::snprintf(escape, sizeof escape, "%%%02X", c);
      out += escape;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

bool IsAddress(std::string_view url) {
  auto startsWith = [url](std::string_view prefix) {
    return url.size() >= prefix.size() && ascii::EqualsIgnoreCase(url.substr(0, prefix.size()), prefix);
  };
  return startsWith("http://") || startsWith("https://");
}

std::string FormatLines(const LinkResult& r) {
  return "link: " + OneLine(r.link) + "\nname: " + OneLine(r.name) + "\nextension: " + OneLine(r.extension) +
         "\nsize: " + OneLine(r.size) + "\nhash: " + OneLine(r.hash) + "\nurl: " + OneLine(r.url) + "\n\n";
}

std::string FormatUrl(const LinkResult& r) { return IsAddress(r.url) ? OneLine(r.url) + "\n" : ""; }

std::string FormatJson(const LinkResult& r) {
  return "{\"link\": " + JsonString(r.link) + ", \"service\": " + JsonString(ServiceName(r.service)) +
         ", \"ok\": " + (IsAddress(r.url) ? "true" : "false") + ", \"url\": " + JsonString(r.url) +
         ", \"name\": " + JsonString(r.name) + ", \"extension\": " + JsonString(r.extension) +
         ", \"size\": " + JsonString(r.size) + ", \"hash\": " + JsonString(r.hash) + "}\n";
}

std::string FormatCurl(const LinkResult& r) {
  if (!IsAddress(r.url)) return "";
  const std::string name = SafeFileName(r.name);
  const std::string target = name.empty() ? "-O" : "-o " + ShellQuote(name);
  return "curl -L " + target + " " + ShellQuote(CommandUrl(r.url)) + "\n";
}

std::string FormatAria2(const LinkResult& r) {
  if (!IsAddress(r.url)) return "";
  std::string entry = CommandUrl(r.url) + "\n";
  const std::string name = SafeFileName(r.name);
  if (!name.empty()) entry += "  out=" + name + "\n";
  return entry;
}

std::string ShellQuote(std::string_view text) {
  if (text.empty()) return "''";
  bool safe = true;
  for (char c : text) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       std::string_view("@%+=:,./-_").find(c) != std::string_view::npos;
    if (!plain) safe = false;
  }
  if (safe) return std::string(text);
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\"'\"'";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::string SafeFileName(std::string_view name) {
  std::string safe;
  for (unsigned char c : name) {
    if (c == '/' || c == '\\') {
      safe += '_';
    } else if (!IsControl(c)) {
      safe += static_cast<char>(c);
    }
  }
  std::size_t first = safe.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  safe = safe.substr(first, safe.find_last_not_of(' ') - first + 1);
  if (safe == "." || safe == "..") return "";
  return safe;
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", c);
          out += escape;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

}  // namespace cli
