// A WinInet client reaches the services' host names through the connect-to map that the
// simulator prints, and downloads from the address that a page gives.
#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <cstdlib>
#include <cstring>
#include <optional>

#include "fetch.h"
#include "testsupport/simulator.h"
#include "wininet/wininet.h"

namespace {

using namespace share_simulator_test;
using testsupport::Simulator;

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// One request as the program makes it; the body, or nullopt when the exchange failed.
std::optional<std::string> WinInetFetch(const std::string& host, INTERNET_PORT port, const char* verb,
                                        const std::string& path, std::string body = "") {
  HINTERNET internet = InternetOpenA("Mozilla/4.0 (compatible; MSIE 6.0)", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  HINTERNET connection = InternetConnectA(internet, host.c_str(), port, "", "", INTERNET_SERVICE_HTTP, 0, 0);
  HINTERNET request = HttpOpenRequestA(connection, verb, path.c_str(), "HTTP/1.1", nullptr, nullptr,
                                       INTERNET_FLAG_RELOAD, 0);
  const char* headers = "Content-Type: application/x-www-form-urlencoded\r\n";
  std::optional<std::string> result;
  if (HttpSendRequestA(request, body.empty() ? nullptr : headers, body.empty() ? 0 : static_cast<DWORD>(std::strlen(headers)),
                       body.empty() ? nullptr : body.data(), static_cast<DWORD>(body.size()))) {
    result.emplace();
    char buffer[2048];
    DWORD n = 0;
    while (InternetReadFile(request, buffer, sizeof buffer, &n) && n > 0) result->append(buffer, n);
  }
  InternetCloseHandle(request);
  InternetCloseHandle(connection);
  InternetCloseHandle(internet);
  return result;
}

TEST(SimulatorConnectTo, ServiceHostsReachTheSimulator) {
  Simulator simulator;
  ScopedEnv aim("PANLIFT_CONNECT_TO", simulator.ConnectTo());
  struct Case {
    const char* id;
    std::string expected;  // in the body
  } cases[] = {
      {"Xq3vT9aP", "file_name=\"setup.exe\""},
      {"3sPwx9Lc", "filename=Holiday%20Photo%20%281%29.jpg"},
      {"QzRbXgGxq7d3h", "\"name\":\"lecture.avi\""},
  };
  for (const Case& c : cases) {
    auto [host, path] = SplitLink(simulator.Share(c.id).link);
    std::optional<std::string> page = WinInetFetch(host, 80, "GET", path);
    ASSERT_TRUE(page) << host << path;
    EXPECT_NE(page->find(c.expected), std::string::npos) << *page;
  }
}

TEST(SimulatorConnectTo, EndpointAnswersAPostAndTheAddressDownloads) {
  Simulator simulator;
  ScopedEnv aim("PANLIFT_CONNECT_TO", simulator.ConnectTo());
  const auto& share = simulator.Share("QzTk8wPm2vN5c");  // 歌曲.wma, 5000000 bytes
  std::optional<std::string> page = WinInetFetch("yunpan.cn", 80, "GET", "/" + share.id);
  ASSERT_TRUE(page);
  std::size_t nid = page->find("\"nid\":\"");
  ASSERT_NE(nid, std::string::npos);
  nid += 7;
  std::string body = "shorturl=" + share.id + "&nid=" + page->substr(nid, page->find('"', nid) - nid);

  std::optional<std::string> answer = WinInetFetch("yunpan.360.cn", 80, "POST", "/share/downloadfile/", body);
  ASSERT_TRUE(answer);
  EXPECT_NE(answer->find(codepage::Utf8ToGbk("\"errmsg\":\"操作成功\"")), std::string::npos) << *answer;
  EXPECT_NE(answer->find("\"downloadurl\":\"" + share.downloadAddress + "\""), std::string::npos) << *answer;

  std::optional<std::string> bytes =
      WinInetFetch("127.0.0.1", static_cast<INTERNET_PORT>(simulator.Port()), "GET", SplitLink(share.downloadAddress).second);
  ASSERT_TRUE(bytes);
  ASSERT_EQ(bytes->size(), share.size);
  unsigned char digest[16];
  unsigned int length = 0;
  EVP_Digest(bytes->data(), bytes->size(), digest, &length, EVP_md5(), nullptr);
  char hex[33];
  for (int i = 0; i < 16; ++i) std::snprintf(hex + 2 * i, 3, "%02x", digest[i]);
  EXPECT_EQ(hex, share.md5);
}

}  // namespace
