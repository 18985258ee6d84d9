// template_compiler: window descriptions to window-template data blocks, and back.
//
//   template_compiler <description> [-o <block file>] [--cpp <file.cpp> --symbol <ns::name>]
//   template_compiler --dump <block file>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cpp_source.h"
#include "description.h"

namespace {

constexpr const char* kUsage =
    "usage: template_compiler <description> [-o <block file>] [--cpp <file.cpp> --symbol <ns::name>]\n"
    "       template_compiler --dump <block file>\n";

bool ReadFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  out = text.str();
  return !in.bad();
}

bool WriteFile(const std::string& path, const void* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  return static_cast<bool>(out);
}

int Fail(const std::string& message) {
  std::cerr << "template_compiler: " << message << "\n";
  return 1;
}

int Dump(const std::string& path) {
  std::string bytes;
  if (!ReadFile(path, bytes)) return Fail("cannot read " + path);
  runtime::TemplateReadResult read = runtime::ReadTemplateBlock(
      std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  if (!read.ok) {
    return Fail(path + ": not a readable template block: " + read.error + " (at byte " +
                std::to_string(read.errorOffset) + ")");
  }
  std::cout << "# " << path << ": " << bytes.size() << " bytes\n" << template_compiler::DescribeBlock(read.block);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "--dump") return Dump(args[1]);

  std::string description, blockOut, cppOut, symbol;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool hasValue = i + 1 < args.size();
    if (a == "-o" && hasValue) blockOut = args[++i];
    else if (a == "--cpp" && hasValue) cppOut = args[++i];
    else if (a == "--symbol" && hasValue) symbol = args[++i];
    else if (!a.empty() && a[0] != '-' && description.empty()) description = a;
    else return Fail("unexpected argument '" + a + "'\n" + kUsage);
  }
  if (description.empty() || (blockOut.empty() && cppOut.empty())) return Fail(std::string("nothing to do\n") + kUsage);
  if (!cppOut.empty() && !template_compiler::IsQualifiedName(symbol)) {
    return Fail("--cpp needs --symbol with a C++ name such as app::forms::kMainWindowTemplate");
  }

  std::string text;
  if (!ReadFile(description, text)) return Fail("cannot read " + description);
  std::vector<std::uint8_t> block;
  try {
    block = runtime::WriteTemplateBlock(template_compiler::ParseDescription(text, description));
  } catch (const template_compiler::CompileError& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  if (!blockOut.empty() && !WriteFile(blockOut, block.data(), block.size())) return Fail("cannot write " + blockOut);
  if (!cppOut.empty()) {
    std::string source = template_compiler::CppSource(block, symbol, description);
    if (!WriteFile(cppOut, source.data(), source.size())) return Fail("cannot write " + cppOut);
  }
  return 0;
}
