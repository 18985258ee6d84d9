// HttpReadFile as the runtime calls it, against the local test server reached under fixed
// host names: the request it sends, what it returns, how it reads, and its one internet handle.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "inet/internet_library.h"
#include "kernel/modules.h"
#include "read_chunk.h"
#include "test_runtime.h"
#include "testsupport/http_server.h"
#include "testsupport/tls_certificate.h"
#include "wininet/trusted_roots.h"
#include "wininet/wininet.h"

namespace {

using testsupport::GeneratedByte;
using testsupport::HttpResponse;
using testsupport::HttpTestServer;
using namespace inet_test;

// Wrappers around exports of "wininet.dll" that record how the library calls them.
std::vector<DWORD> readSizes;
int opens = 0;
std::vector<HINTERNET> closed;
DWORD requestFlags = 0;
decltype(&InternetReadFile) realRead = nullptr;
decltype(&InternetOpenA) realOpen = nullptr;
decltype(&InternetCloseHandle) realClose = nullptr;
decltype(&HttpOpenRequestA) realOpenRequest = nullptr;

BOOL RecordingRead(HINTERNET h, LPVOID buffer, DWORD size, LPDWORD read) {
  readSizes.push_back(size);
  return realRead(h, buffer, size, read);
}
HINTERNET CountingOpen(LPCSTR agent, DWORD access, LPCSTR proxy, LPCSTR bypass, DWORD flags) {
  ++opens;
  return realOpen(agent, access, proxy, bypass, flags);
}
BOOL RecordingClose(HINTERNET h) {
  closed.push_back(h);
  return realClose(h);
}
HINTERNET RecordingOpenRequest(HINTERNET connection, LPCSTR verb, LPCSTR object, LPCSTR version, LPCSTR referrer,
                               LPCSTR* acceptTypes, DWORD flags, DWORD_PTR context) {
  requestFlags = flags;
  return realOpenRequest(connection, verb, object, version, referrer, acceptTypes, flags, context);
}

void Replace(const char* name, FARPROC address, int bytes) {
  const BuiltinExport exports[] = {{name, 0, bytes, address}};
  RegisterBuiltinModule("wininet.dll", exports);
}

// The library started as the runtime starts it, on a test server reached as a fixed host.
class HttpReadFileTest : public ::testing::Test {
 protected:
  HttpReadFileTest() {
    RegisterWininetModule();
    realRead = &InternetReadFile;
    realOpen = &InternetOpenA;
    realClose = &InternetCloseHandle;
    realOpenRequest = &HttpOpenRequestA;
    Replace("InternetReadFile", reinterpret_cast<FARPROC>(&RecordingRead), 16);
    Replace("InternetOpenA", reinterpret_cast<FARPROC>(&CountingOpen), 20);
    Replace("InternetCloseHandle", reinterpret_cast<FARPROC>(&RecordingClose), 4);
    Replace("HttpOpenRequestA", reinterpret_cast<FARPROC>(&RecordingOpenRequest), 32);
    readSizes.clear();
    closed.clear();
    opens = 0;
    requestFlags = 0;
    liveBlocks = 0;
    refuseAllocations = false;
    setenv("PANLIFT_CONNECT_TO", ("pan.example:80=" + server_.HostPort()).c_str(), 1);
    inet::LibraryNotify(runtime::library_notify::Start, reinterpret_cast<std::intptr_t>(&CountingNotify), 0);
  }
  ~HttpReadFileTest() override {
    inet::LibraryNotify(runtime::library_notify::Shutdown, 0, 0);
    unsetenv("PANLIFT_CONNECT_TO");
    Replace("InternetReadFile", reinterpret_cast<FARPROC>(realRead), 16);
    Replace("InternetOpenA", reinterpret_cast<FARPROC>(realOpen), 20);
    Replace("InternetCloseHandle", reinterpret_cast<FARPROC>(realClose), 4);
    Replace("HttpOpenRequestA", reinterpret_cast<FARPROC>(realOpenRequest), 32);
  }

  // The command's result as a string; "(null)" for the empty ByteSet. Frees the block.
  static std::string Read(const char* url) {
    runtime::CommandResult result{};
    runtime::CommandArg arg = runtime::TextArg(url);
    inet::HttpReadFile(&result, 1, &arg);
    EXPECT_EQ(result.type, runtime::types::ByteSet);
    void* block = runtime::ArgPointer(result);
    if (!block) return "(null)";
    EXPECT_EQ(liveBlocks, 1);  // the result is the caller's, and the only block left
    std::int32_t one;
    std::memcpy(&one, block, 4);
    EXPECT_EQ(one, 1);
    std::string bytes(reinterpret_cast<const char*>(runtime::ByteSetBytes(block)),
                      static_cast<std::size_t>(runtime::ByteSetLength(block)));
    CountingNotify(runtime::notify::Free, reinterpret_cast<std::intptr_t>(block), 0);
    return bytes;
  }

  HttpTestServer server_;
};

TEST(InternetLibrary, DescribesItsOneCommand) {
  const runtime::LibraryInfo& info = inet::InternetLibraryInfo();
  EXPECT_EQ(info.format, 20000101);
  EXPECT_EQ(std::string(info.guid).size(), 38u);
  EXPECT_EQ(info.typeCount, 0);
  EXPECT_EQ(info.types, nullptr);
  ASSERT_EQ(info.commandCount, 1);
  EXPECT_EQ(info.commands[0], &inet::HttpReadFile);
  EXPECT_EQ(info.notify, &inet::LibraryNotify);
}

TEST_F(HttpReadFileTest, SendsAnHttp10GetWithOneAcceptAndNoFragment) {
  server_.Route("/s/1abc", HttpResponse::Text("share page"));
  EXPECT_EQ(Read("http://pan.example/s/1abc?pwd=x#section"), "share page");
  EXPECT_EQ(server_.Requests().at(0).raw,
            "GET /s/1abc?pwd=x HTTP/1.0\r\n"
            "Host: pan.example\r\n"
            "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"
            "Accept: */*\r\n"
            "\r\n");
}

// The system's configured proxy applies: here http_proxy, which the test server plays.
TEST_F(HttpReadFileTest, GoesThroughThePreconfiguredProxy) {
  HttpTestServer proxy;
  proxy.Route("http://pan.example/s/1abc", HttpResponse::Text("via proxy"));
  unsetenv("PANLIFT_CONNECT_TO");  // an aimed host would be reached directly
  setenv("http_proxy", ("http://" + proxy.HostPort()).c_str(), 1);
  const std::string body = Read("http://pan.example/s/1abc?pwd=x#section");
  unsetenv("http_proxy");
  EXPECT_EQ(body, "via proxy");
  ASSERT_EQ(proxy.RequestCount(), 1u);
  const auto request = proxy.Requests()[0];
  EXPECT_EQ(request.raw.substr(0, request.raw.find("\r\n")), "GET http://pan.example/s/1abc?pwd=x HTTP/1.0");
  EXPECT_EQ(request.Header("Host"), "pan.example");
  EXPECT_EQ(request.HeaderCount("Accept"), 1);
  EXPECT_EQ(server_.RequestCount(), 0u);
}

TEST_F(HttpReadFileTest, FetchesHttpsWithTheSecureFlag) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("panlift-inet-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const testsupport::TlsCertificate certificate = testsupport::MakeSelfSignedCertificate(dir.string(), {"pan.example"});
  testsupport::HttpServerOptions options;
  options.certificateFile = certificate.certificateFile;
  options.privateKeyFile = certificate.privateKeyFile;
  std::string body, raw;
  {
    HttpTestServer secure(options);
    secure.Route("/share", HttpResponse::Text("over tls"));
    setenv("PANLIFT_CONNECT_TO", ("pan.example:443=" + secure.HostPort()).c_str(), 1);
    wininet::AddTrustedRoots(certificate.certificateFile);
    body = Read("https://pan.example/share?id=7");
    wininet::ClearTrustedRoots();
    if (secure.RequestCount() == 1) raw = secure.Requests()[0].raw;
  }
  std::filesystem::remove_all(dir);
  EXPECT_EQ(body, "over tls");
  EXPECT_EQ(requestFlags, 0x84800000u);
  EXPECT_EQ(raw,
            "GET /share?id=7 HTTP/1.0\r\n"
            "Host: pan.example\r\n"
            "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"
            "Accept: */*\r\n"
            "\r\n");
}

TEST_F(HttpReadFileTest, ReturnsTheBodyWhateverTheStatusAndNothingOnFailure) {
  server_.Route("/missing", HttpResponse::Status(404, "Not Found", "<html>404</html>"));
  server_.Route("/empty", HttpResponse::Text(""));
  server_.Route("/reset", HttpResponse::ResetMidBody(std::string(5000, 'r'), 1200));
  const std::pair<const char*, std::string> cases[] = {
      {"http://pan.example/missing", "<html>404</html>"},
      {"http://pan.example/empty", "(null)"},
      {"http://pan.example/reset", std::string(1200, 'r')},  // the bytes before the break
      {"", "(null)"},
      {"pan.example/no-scheme", "(null)"},
      {"ftp://pan.example/file", "(null)"},
      {"http://pan.example:1/closed-port", "(null)"},
  };
  for (const auto& [url, expected] : cases) EXPECT_EQ(Read(url), expected) << url;
  EXPECT_EQ(server_.RequestCount(), 3u);  // the empty URL and the failures made no request
  EXPECT_EQ(liveBlocks, 0);
}

TEST_F(HttpReadFileTest, ReadsInChunksThatFollowTheContentLength) {
  server_.Route("/small", HttpResponse::Text(std::string(500, 's')));
  server_.Route("/chunked", HttpResponse::Chunked(std::string(30000, 'c'), 7000));
  server_.Route("/large", HttpResponse::Generated(1 << 20));
  server_.Route("/zero", HttpResponse::Text("").WithHeader("X", "y"));
  struct Case {
    const char* url;
    DWORD chunk;
  } cases[] = {
      {"http://pan.example/small", 501},
      {"http://pan.example/chunked", 10240},
      {"http://pan.example/large", 102400},
      {"http://pan.example/zero", 10240},
  };
  for (const Case& c : cases) {
    readSizes.clear();
    Read(c.url);
    ASSERT_FALSE(readSizes.empty()) << c.url;
    EXPECT_TRUE(std::all_of(readSizes.begin(), readSizes.end(), [&](DWORD s) { return s == c.chunk; })) << c.url;
  }
  EXPECT_EQ(inet::ReadChunkSize(102399), 102400);
  EXPECT_EQ(inet::ReadChunkSize(-5), inet::DefaultChunk);
}

TEST_F(HttpReadFileTest, OpensOneInternetHandleAndClosesItAtShutdown) {
  server_.Route("/a", HttpResponse::Text("a"));
  EXPECT_EQ(Read("http://pan.example/a"), "a");
  EXPECT_EQ(Read("http://pan.example/a"), "a");
  EXPECT_EQ(opens, 1);
  const std::size_t closedDuringRequests = closed.size();
  EXPECT_EQ(closedDuringRequests, 4u);  // request and connection, twice
  inet::LibraryNotify(runtime::library_notify::Shutdown, 0, 0);
  ASSERT_EQ(closed.size(), closedDuringRequests + 1);
  EXPECT_EQ(std::count(closed.begin(), closed.end(), closed.back()), 1);  // a handle not closed before
}

TEST_F(HttpReadFileTest, StopsAtTheCapAndKeepsWhatWasRead) {
  const std::uint64_t size = inet::MaxBodyBytes + 300000ull;
  server_.Route("/endless", HttpResponse::Generated(size));
  runtime::CommandResult result{};
  runtime::CommandArg arg = runtime::TextArg("http://pan.example/endless");
  inet::HttpReadFile(&result, 1, &arg);
  void* block = runtime::ArgPointer(result);
  ASSERT_NE(block, nullptr);
  ASSERT_EQ(runtime::ByteSetLength(block), inet::MaxBodyBytes);
  const unsigned char* bytes = runtime::ByteSetBytes(block);
  for (std::int64_t i : {0ll, 12345ll, inet::MaxBodyBytes - 1ll}) {
    EXPECT_EQ(static_cast<char>(bytes[i]), GeneratedByte(static_cast<std::uint64_t>(i)));
  }
  CountingNotify(runtime::notify::Free, reinterpret_cast<std::intptr_t>(block), 0);
}

TEST_F(HttpReadFileTest, ARefusedAllocationGivesTheEmptyByteSet) {
  server_.Route("/a", HttpResponse::Text("a"));
  refuseAllocations = true;
  EXPECT_EQ(Read("http://pan.example/a"), "(null)");
}

TEST(HttpReadFileUnstarted, ReturnsTheEmptyByteSetBeforeTheLibraryStarts) {
  runtime::CommandResult result{};
  runtime::CommandArg arg = runtime::TextArg("http://pan.example/");
  inet::HttpReadFile(&result, 1, &arg);
  EXPECT_EQ(runtime::ArgPointer(result), nullptr);
  EXPECT_EQ(result.type, runtime::types::ByteSet);
}

}  // namespace
