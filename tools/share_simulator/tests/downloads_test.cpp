// The download addresses serve bytes whose MD5 is the hash the page reports.
#include <gtest/gtest.h>
#include <openssl/evp.h>

#include "fetch.h"
#include "testsupport/simulator.h"

namespace {

using namespace share_simulator_test;
using testsupport::SimulatedShare;
using testsupport::Simulator;

std::string Md5Hex(const std::string& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr);
  std::string hex;
  static constexpr char kHex[] = "0123456789abcdef";
  for (unsigned int i = 0; i < length; ++i) hex += {kHex[digest[i] >> 4], kHex[digest[i] & 15]};
  return hex;
}

std::string PathOf(const std::string& address) { return SplitLink(address).second; }

TEST(SimulatorDownloads, ContentsMatchTheReportedHash) {
  Simulator simulator;
  int served = 0;
  for (const SimulatedShare& share : simulator.Shares()) {
    if (!share.downloadable) continue;
    SCOPED_TRACE(share.id);
    Reply reply = Get(simulator.Port(), "127.0.0.1:" + std::to_string(simulator.Port()), PathOf(share.downloadAddress));
    ASSERT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body.size(), share.size);
    EXPECT_EQ(Md5Hex(reply.body), share.md5);
    ++served;
  }
  EXPECT_GE(served, 10);
}

TEST(SimulatorDownloads, FilesOfOnePageDiffer) {
  Simulator simulator;
  const SimulatedShare& share = simulator.Share("9dRtz4Mb");  // two records
  std::string host = "127.0.0.1";
  Reply first = Get(simulator.Port(), host, "/download/9dRtz4Mb/1");
  Reply second = Get(simulator.Port(), host, "/download/9dRtz4Mb/2");
  ASSERT_EQ(first.status, 200);
  EXPECT_EQ(Md5Hex(second.body), share.md5);
  EXPECT_NE(Md5Hex(first.body), share.md5);
}

TEST(SimulatorDownloads, ARangeIsASliceOfTheWhole) {
  Simulator simulator;
  const std::string path = "/download/Xq3vT9aP/1";  // setup.exe, 1 MiB
  std::string whole = Get(simulator.Port(), "127.0.0.1", path).body;
  httplib::Client client("127.0.0.1", simulator.Port());
  // Unaligned to the generator's eight-byte words on both ends.
  auto part = client.Get(path.c_str(), {{"Range", "bytes=70001-200004"}});
  ASSERT_TRUE(part);
  EXPECT_EQ(part->status, 206);
  EXPECT_EQ(part->body, whole.substr(70001, 130004));
}

TEST(SimulatorDownloads, FilesAboveTheLimitAreRefused) {
  Simulator simulator;
  int refused = 0;
  for (const SimulatedShare& share : simulator.Shares()) {
    if (share.downloadable) continue;
    EXPECT_GT(share.size, 64u * 1024 * 1024) << share.id;
    EXPECT_EQ(Get(simulator.Port(), "127.0.0.1", PathOf(share.downloadAddress)).status, 404) << share.id;
    ++refused;
  }
  EXPECT_GE(refused, 3);
}

}  // namespace
