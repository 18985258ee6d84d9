// The service of a link comes from its host alone.
#include <gtest/gtest.h>

#include "link_service.h"

namespace cli {
namespace {

struct HostCase {
  const char* link;
  std::optional<Service> service;
};

TEST(ServiceOfLink, FromTheHost) {
  const HostCase cases[] = {
      {"http://kuai.xunlei.com/d/ABC", Service::Xunlei},
      {"https://KUAI.Xunlei.com./d/ABC", Service::Xunlei},
      {"http://pan.baidu.com/s/1abc", Service::Baidu},
      {"http://yun.baidu.com:8080/s/1abc?x=1", Service::Baidu},
      {"pan.baidu.com/s/1abc", Service::Baidu},
      {"http://yunpan.cn/abc", Service::Yunpan360},
      {"http://c12.yunpan.cn/lk/abc", Service::Yunpan360},
      {"http://yunpan.360.cn/abc", Service::Yunpan360},
      {"http://user@yunpan.cn/abc", Service::Yunpan360},
      // Only the host counts: not the path, a longer name or a user name.
      {"http://example.com/kuai.xunlei.com", std::nullopt},
      {"http://notyunpan.cn/abc", std::nullopt},
      {"http://pan.baidu.com.example.com/s/1", std::nullopt},
      {"http://pan.baidu.com@example.com/s/1", std::nullopt},
      {"http://xunlei.com/d/ABC", std::nullopt},
      {"http://127.0.0.1:8080/s/1", std::nullopt},
      {"http://[::1]:80/s/1", std::nullopt},
      {"", std::nullopt},
  };
  for (const HostCase& c : cases) {
    EXPECT_EQ(ServiceOfLink(c.link), c.service) << c.link;
  }
}

}  // namespace
}  // namespace cli
