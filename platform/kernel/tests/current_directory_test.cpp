// The current directory: backslashes and any case going in, Windows form coming out.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "kernel/process.h"
#include "temp_dir.h"
#include "win/errors.h"

namespace {

std::string Backslashed(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

TEST(CurrentDirectory, AcceptsBackslashesAndAnyCase) {
  TempDir dir;
  ASSERT_FALSE(dir.path().empty());
  std::filesystem::create_directories(dir.path() + "/CaseDir/Sub");
  const std::string real = std::filesystem::canonical(dir.path() + "/CaseDir/Sub").string();
  CurrentDirectoryGuard restore;
  for (const std::string& spelling : {dir.path() + "/CaseDir/Sub", Backslashed(dir.path()) + "\\casedir\\SUB",
                                      dir.path() + "\\CASEDIR/sub\\"}) {
    SCOPED_TRACE(spelling);
    ASSERT_TRUE(SetCurrentDirectoryA("/"));
    ASSERT_TRUE(SetCurrentDirectoryA(spelling.c_str()));
    EXPECT_EQ(std::filesystem::current_path().string(), real);
  }
  ASSERT_TRUE(SetCurrentDirectoryA(Backslashed(dir.path()).c_str()));
  ASSERT_TRUE(SetCurrentDirectoryA("casedir\\sub"));  // relative, matched without case
  EXPECT_EQ(std::filesystem::current_path().string(), real);
  ASSERT_TRUE(SetCurrentDirectoryA(".."));
  EXPECT_EQ(std::filesystem::current_path().filename(), "CaseDir");
}

TEST(CurrentDirectory, MissingDirectoriesAndFilesFail) {
  TempDir dir;
  ASSERT_FALSE(dir.path().empty());
  std::string file = dir.Write("plain.txt", "x");
  for (const std::string& path : {dir.path() + "/nowhere", file, std::string()}) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(SetCurrentDirectoryA(path.c_str())) << path;
    EXPECT_NE(GetLastError(), ERROR_SUCCESS) << path;
  }
  EXPECT_FALSE(SetCurrentDirectoryA(nullptr));
}

TEST(CurrentDirectory, BufferRules) {
  CurrentDirectoryGuard restore;
  TempDir dir;
  ASSERT_FALSE(dir.path().empty());
  ASSERT_TRUE(SetCurrentDirectoryA(dir.path().c_str()));
  const std::string expected = Backslashed(std::filesystem::current_path().string());
  const DWORD length = static_cast<DWORD>(expected.size());

  EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), length + 1);  // size needed, with the NUL
  std::string small(length, '#');
  EXPECT_EQ(GetCurrentDirectoryA(length, small.data()), length + 1);
  EXPECT_EQ(small, std::string(length, '#'));  // left alone
  std::string exact(length + 1, '#');
  EXPECT_EQ(GetCurrentDirectoryA(length + 1, exact.data()), length);
  EXPECT_EQ(exact.c_str(), expected);
}

}  // namespace
