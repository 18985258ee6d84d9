// The extension box's description: each listed extension gets its row's prefix, anything
// else (other letter case included) stays as it is.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/resolvers/file_types.h"
#include "app/testing/program_test.h"

namespace app::testing {
namespace {

std::string Described(const std::string& utf8) {
  const std::string gbk = Gbk(utf8);
  return Utf8(TakeText(DescribeExtension(gbk.c_str())));
}

TEST(DescribeExtension, EveryListedExtensionGetsItsRowsPrefix) {
  struct Row {
    const char* prefix;
    std::vector<const char*> extensions;
  };
  const Row rows[] = {
      {"winrar压缩包文件   (", {"rar", "zip", "jar", "7z", "cab"}},
      {"图形图像文件   (", {"bmp", "jpg", "png", "gif", "ico"}},
      {"windows可执行文件   (", {"exe"}},
      {"光盘映像文件   (", {"iso"}},
      {"文本文档   (", {"txt"}},
      {"Corvel源码文件   (", {"q"}},
      {"Microsoft Office Word 2003文档   (", {"doc"}},
      {"声音文件   (", {"wav", "mp3", "aac", "wma"}},
      {"媒体视频文件   (", {"avi", "rm", "rmvb", "mpeg", "mp4"}},
      {"迅雷bt种子文件   (", {"torrent"}},
      {"GHO映像文件   (", {"GHO"}},
  };
  for (const Row& row : rows) {
    for (const char* extension : row.extensions) {
      EXPECT_EQ(Described(extension), std::string(row.prefix) + extension + ")");
    }
  }
}

TEST(DescribeExtension, UnlistedTextsStayAsTheyAre) {
  for (const char* extension : {"gho", "RAR", "mkv", "wmv", "flv", "", ".7z", "mvb", "rar ", "压缩"}) {
    EXPECT_EQ(Described(extension), extension);
  }
}

}  // namespace
}  // namespace app::testing
