// Helpers for the tests of the command-line tools: run a tool as a shell would, and read
// and write the files it takes and makes.
#pragma once

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace testsupport {

struct CommandRun {
  int status;
  std::string output;  // standard output and standard error
};

inline CommandRun RunCommand(const std::string& program, const std::string& arguments) {
  std::string command = program + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  CommandRun run{-1, {}};
  if (!pipe) return run;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, n);
  run.status = pclose(pipe);
  return run;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace testsupport
