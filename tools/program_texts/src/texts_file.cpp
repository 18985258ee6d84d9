#include "texts_file.h"

#include <cstdio>
#include <fstream>
#include <set>

#include "codepage/codepage.h"

namespace program_texts {
namespace {

bool IsNameChar(char c, bool first) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || (!first && c >= '0' && c <= '9');
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Converts one run of UTF-8; a character without a GBK form is refused (it would become "?").
std::string ToGbk(const std::string& utf8) {
  std::string gbk = codepage::Utf8ToGbk(utf8);
  if (codepage::GbkToUtf8(gbk) != utf8) throw TextsError("the text is not valid UTF-8 or has a character GBK cannot hold");
  return gbk;
}

// The quoted form: escapes give raw bytes, everything else is UTF-8 to convert.
std::string ReadQuoted(const std::string& line, std::size_t& i) {
  std::string gbk, run;
  ++i;
  while (i < line.size() && line[i] != '"') {
    char c = line[i++];
    if (c != '\\') {
      run += c;
      continue;
    }
    if (i >= line.size()) throw TextsError("an escape at the end of the line");
    char e = line[i++];
    std::string byte;
    switch (e) {
      case 'r': byte = "\r"; break;
      case 'n': byte = "\n"; break;
      case 't': byte = "\t"; break;
      case '\\': byte = "\\"; break;
      case '"': byte = "\""; break;
      case 'x': {
        int hi = i < line.size() ? HexValue(line[i]) : -1;
        int lo = i + 1 < line.size() ? HexValue(line[i + 1]) : -1;
        if (hi < 0 || lo < 0) throw TextsError("\\x needs two hexadecimal digits");
        if (hi == 0 && lo == 0) throw TextsError("a text cannot hold a NUL");
        byte = std::string(1, static_cast<char>(hi * 16 + lo));
        i += 2;
        break;
      }
      default: throw TextsError(std::string("unknown escape \\") + e);
    }
    gbk += ToGbk(run);
    run.clear();
    gbk += byte;
  }
  if (i >= line.size()) throw TextsError("the text has no closing quote");
  ++i;
  return gbk + ToGbk(run);
}

std::string ReadRaw(const std::string& line, std::size_t& i) {
  std::size_t open = line.find('(', i);
  if (open == std::string::npos) throw TextsError("a raw text needs R\"delimiter(");
  std::string close = ")" + line.substr(i + 2, open - i - 2) + "\"";
  std::size_t end = line.find(close, open + 1);
  if (end == std::string::npos) throw TextsError("the raw text has no closing " + close);
  i = end + close.size();
  return ToGbk(line.substr(open + 1, end - open - 1));
}

std::string Octal(const std::string& bytes) {
  std::string out;
  for (unsigned char b : bytes) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\%03o", b);
    out += escaped;
  }
  return out;
}

}  // namespace

void ReadTextsFile(const std::string& path, std::vector<NamedText>& texts) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TextsError(path + ": cannot be read");
  std::set<std::string> names;
  for (const NamedText& t : texts) names.insert(t.name);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    try {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::size_t i = line.find_first_not_of(" \t");
      if (i == std::string::npos || line[i] == '#') continue;
      std::size_t start = i;
      while (i < line.size() && IsNameChar(line[i], i == start)) ++i;
      if (i == start) throw TextsError("a line starts with the text's name");
      std::string name = line.substr(start, i - start);
      if (!names.insert(name).second) throw TextsError("the name " + name + " is given twice");
      i = line.find_first_not_of(" \t", i);
      std::string gbk;
      if (i != std::string::npos && line.compare(i, 2, "R\"") == 0) gbk = ReadRaw(line, i);
      else if (i != std::string::npos && line[i] == '"') gbk = ReadQuoted(line, i);
      else throw TextsError("the name is followed by a quoted text");
      if (line.find_first_not_of(" \t", i) != std::string::npos) throw TextsError("something follows the text");
      texts.push_back({name, gbk});
    } catch (const TextsError& e) {
      throw TextsError(path + ":" + std::to_string(number) + ": " + e.what());
    }
  }
}

std::string HeaderSource(const std::vector<NamedText>& texts) {
  std::string out =
      "// Made at build time from the program's texts files: do not edit.\n"
      "#pragma once\n\nnamespace app {\n\n"
      "// The program's literal texts (GBK), back to back in one block of constant data.\n"
      "struct ProgramTexts {\n";
  for (const NamedText& t : texts) out += "  char " + t.name + "[" + std::to_string(t.gbk.size() + 1) + "];\n";
  out += "};\n\nextern const ProgramTexts kTexts;\n\n}  // namespace app\n";
  return out;
}

std::string DefinitionSource(const std::vector<NamedText>& texts) {
  std::string out = "// Made at build time from the program's texts files: do not edit.\n#include \"app/program_texts.h\"\n\n"
                    "namespace app {\n\nconst ProgramTexts kTexts = {\n";
  for (const NamedText& t : texts) out += "    \"" + Octal(t.gbk) + "\",\n";
  out += "};\n\nstatic_assert(sizeof(ProgramTexts) == " + std::to_string([&] {
    std::size_t n = 0;
    for (const NamedText& t : texts) n += t.gbk.size() + 1;
    return n;
  }()) + ", \"the texts lie back to back\");\n\n}  // namespace app\n";
  return out;
}

}  // namespace program_texts
