// Without libFuzzer: every file of the directories (or the files) named on the command line
// fed once to the target, as libFuzzer's replay would, so ctest can run the corpora.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

std::vector<std::filesystem::path> Inputs(const char* argument) {
  std::vector<std::filesystem::path> files;
  const std::filesystem::path path(argument);
  if (std::filesystem::is_directory(path)) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
  } else {
    files.push_back(path);
  }
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  // Starting the runtime may change the working directory.
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(std::filesystem::absolute(argv[i]).string());
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  std::size_t count = 0;
  for (const std::string& argument : arguments) {
    for (const auto& file : Inputs(argument.c_str())) {
      std::ifstream in(file, std::ios::binary);
      if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return 1;
      }
      // A copy of its own, so that reading past the input is caught as libFuzzer would.
      std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      auto* input = new std::uint8_t[bytes.size()];
      std::copy(bytes.begin(), bytes.end(), input);
      LLVMFuzzerTestOneInput(input, bytes.size());
      delete[] input;
      ++count;
    }
  }
  std::printf("replayed %zu inputs\n", count);
  return count == 0 ? 1 : 0;
}
