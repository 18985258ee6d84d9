// The program's literal texts as written in its sources: UTF-8 files of named texts, one a
// line, read into the GBK bytes that the program carries as its constant data.
//
//   # a comment
//   Name "text with \r\n, \\, \" and \xHH escapes"
//   Name R"delimiter(raw text: backslashes are themselves)delimiter"
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace program_texts {

struct NamedText {
  std::string name;
  std::string gbk;
};

struct TextsError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Appends the texts of one file; a fault names the file and its line.
void ReadTextsFile(const std::string& path, std::vector<NamedText>& texts);

// The header and the source that define `struct ProgramTexts` and its one object kTexts:
// the texts back to back, each with its NUL, in one block of constant data.
std::string HeaderSource(const std::vector<NamedText>& texts);
std::string DefinitionSource(const std::vector<NamedText>& texts);

}  // namespace program_texts
