// The program's own file name in Windows form, and the buffer rules of GetModuleFileNameA.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "kernel/modules.h"
#include "kernel/process.h"
#include "win/errors.h"

namespace {

std::string ProgramPath() {
  char buffer[4096];
  DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return std::string(buffer, length);
}

TEST(ModuleFileName, ProgramPathSplitsIntoDirectoryAndFileAtTheLastBackslash) {
  std::string path = ProgramPath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.find('/'), std::string::npos);
  ASSERT_EQ(path.front(), '\\');
  std::size_t split = path.rfind('\\');
  EXPECT_EQ(path.substr(split + 1), "kernel_tests");
  std::string directory = path.substr(0, split);
  std::replace(directory.begin(), directory.end(), '\\', '/');
  EXPECT_TRUE(std::filesystem::is_directory(directory));
  EXPECT_TRUE(std::filesystem::equivalent(directory + "/kernel_tests", "/proc/self/exe"));
}

TEST(ModuleFileName, TruncatesAsWindows) {
  const std::string path = ProgramPath();
  const DWORD length = static_cast<DWORD>(path.size());
  struct Case {
    DWORD size;
    DWORD result;
    std::string text;
    DWORD error;
  } cases[] = {
      {1, 1, "", ERROR_INSUFFICIENT_BUFFER},
      {5, 5, path.substr(0, 4), ERROR_INSUFFICIENT_BUFFER},
      {length, length, path.substr(0, length - 1), ERROR_INSUFFICIENT_BUFFER},
      {length + 1, length, path, ERROR_SUCCESS},
      {length + 20, length, path, ERROR_SUCCESS},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    std::string buffer(c.size + 8, '#');
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GetModuleFileNameA(nullptr, buffer.data(), c.size), c.result);
    EXPECT_EQ(std::string(buffer.c_str()), c.text);
    EXPECT_EQ(GetLastError(), c.error);
    EXPECT_EQ(buffer[c.size], '#');  // nothing written past the buffer
  }
  char untouched = '#';
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(GetModuleFileNameA(nullptr, &untouched, 0), 0u);
  EXPECT_EQ(untouched, '#');
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(ModuleFileName, UnknownModuleFails) {
  char buffer[64] = "unchanged";
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(0x4321), buffer, sizeof buffer), 0u);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  EXPECT_STREQ(buffer, "unchanged");
}

}  // namespace
