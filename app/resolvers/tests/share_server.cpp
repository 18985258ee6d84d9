#include "share_server.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/base/main_window_units.h"
#include "app/base/runtime_calls.h"
#include "app/testing/program_test.h"

namespace app::testing {

void PrintTo(const DetailBoxes& b, std::ostream* out) {
  *out << "{" << Utf8(b.name) << " | " << Utf8(b.extension) << " | " << Utf8(b.size) << " | " << Utf8(b.md5) << "}";
}

ScopedEnvironment::ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
  if (const char* old = std::getenv(name)) old_ = old;
  setenv(name, value.c_str(), 1);
}

ScopedEnvironment::~ScopedEnvironment() {
  if (old_) {
    setenv(name_, old_->c_str(), 1);
  } else {
    unsetenv(name_);
  }
}

ResolverTest::ResolverTest()
    : aim_("PANLIFT_CONNECT_TO", "kuai.xunlei.com:80=" + server_.HostPort() + ",pan.baidu.com:80=" +
                                     server_.HostPort() + ",yunpan.cn:80=" + server_.HostPort() +
                                     ",yunpan.360.cn:80=" + server_.HostPort()) {}

void ResolverTest::SetUp() { LoadMainWindow(); }
void ResolverTest::TearDown() { CloseMainWindow(); }

std::string ResolverTest::Resolve(runtime::Text (*resolver)(const runtime::Text&), const std::string& link) {
  runtime::Text text = NewText(link);
  runtime::Text address = resolver(text);
  EXPECT_EQ(std::string(text), link) << "the link is the caller's";
  FreeBlock(text);
  return TakeText(address);
}

DetailBoxes ResolverTest::Boxes() const {
  return {BoxText(units::文件名称编辑框), BoxText(units::文件扩展名编辑框), BoxText(units::文件大小编辑框),
          BoxText(units::文件md5编辑框)};
}

void ResolverTest::SetBoxes(const DetailBoxes& b) {
  SetBoxText(units::文件名称编辑框, b.name);
  SetBoxText(units::文件扩展名编辑框, b.extension);
  SetBoxText(units::文件大小编辑框, b.size);
  SetBoxText(units::文件md5编辑框, b.md5);
}

std::string ReadFixture(const std::string& name) {
  std::ifstream in(std::string(PANLIFT_FIXTURES_DIR) + "/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace app::testing
