// program_texts HEADER SOURCE TEXTS_FILE...: the program's literal texts, converted to GBK
// once, at build time.
#include <cstdio>
#include <fstream>

#include "texts_file.h"

namespace {

// Writes only when the content changes, so that an unchanged header rebuilds nothing.
bool WriteIfChanged(const std::string& path, const std::string& content) {
  std::ifstream in(path, std::ios::binary);
  std::string old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in && old == content) return true;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: program_texts HEADER SOURCE TEXTS_FILE...\n");
    return 2;
  }
  std::vector<program_texts::NamedText> texts;
  try {
    for (int i = 3; i < argc; ++i) program_texts::ReadTextsFile(argv[i], texts);
  } catch (const program_texts::TextsError& e) {
    std::fprintf(stderr, "program_texts: %s\n", e.what());
    return 1;
  }
  if (texts.empty()) texts.push_back({"Empty", ""});
  if (!WriteIfChanged(argv[1], program_texts::HeaderSource(texts)) ||
      !WriteIfChanged(argv[2], program_texts::DefinitionSource(texts))) {
    std::fprintf(stderr, "program_texts: cannot write %s or %s\n", argv[1], argv[2]);
    return 1;
  }
  return 0;
}
