#include "cpp_source.h"

#include <cctype>
#include <cstdio>

namespace template_compiler {
namespace {

bool IsIdentifier(std::string_view s) {
  if (s.empty() || std::isdigit(static_cast<unsigned char>(s[0]))) return false;
  for (char c : s) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  return true;
}

}  // namespace

bool IsQualifiedName(std::string_view symbol) {
  std::size_t start = 0;
  for (;;) {
    std::size_t end = symbol.find("::", start);
    if (!IsIdentifier(symbol.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start))) {
      return false;
    }
    if (end == std::string_view::npos) return true;
    start = end + 2;
  }
}

std::string CppSource(const std::vector<std::uint8_t>& block, std::string_view symbol, std::string_view source) {
  std::size_t split = symbol.rfind("::");
  std::string space = split == std::string_view::npos ? "" : std::string(symbol.substr(0, split));
  std::string name(split == std::string_view::npos ? symbol : symbol.substr(split + 2));

  std::string out = "// Made by the template compiler from " + std::string(source) + "; do not edit.\n";
  out += "#include <cstddef>\n\n";
  if (!space.empty()) out += "namespace " + space + " {\n\n";
  out += "extern const unsigned char " + name + "[];\n";
  out += "extern const std::size_t " + name + "Size;\n\n";
  out += "alignas(8) const unsigned char " + name + "[] = {";
  for (std::size_t i = 0; i < block.size(); ++i) {
    char byte[8];
    std::snprintf(byte, sizeof byte, "0x%02X,", block[i]);
    out += i % 16 == 0 ? "\n    " : " ";
    out += byte;
  }
  if (block.empty()) out += "0";  // an array cannot be empty; the size says 0
  out += "\n};\n";
  out += "const std::size_t " + name + "Size = " + std::to_string(block.size()) + ";\n";
  if (!space.empty()) out += "\n}  // namespace " + space + "\n";
  return out;
}

}  // namespace template_compiler
