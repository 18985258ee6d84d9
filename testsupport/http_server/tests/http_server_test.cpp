// The server driven by a bare socket client, so that what it sends is seen byte for byte.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>
#include <openssl/ssl.h>

#include "testsupport/http_server.h"
#include "testsupport/tls_certificate.h"

namespace testsupport {
namespace {

using namespace std::chrono_literals;

// A blocking loopback client whose reads give up after five seconds.
class RawClient {
 public:
  explicit RawClient(std::uint16_t port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  }
  ~RawClient() { close(fd_); }
  bool Connected() const { return connected_; }
  void Send(const std::string& bytes) { ASSERT_EQ(send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL), (ssize_t)bytes.size()); }

  // Reads until the server closes (or resets) the connection; *reset tells which.
  std::string ReadToEnd(bool* reset = nullptr) {
    std::string all;
    for (;;) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 5000) <= 0) break;
      char b[65536];
      ssize_t n = recv(fd_, b, sizeof b, 0);
      if (n < 0 && reset) *reset = errno == ECONNRESET;
      if (n <= 0) break;
      all.append(b, static_cast<std::size_t>(n));
    }
    return all;
  }
  // Reads until text has arrived.
  std::string ReadUntil(const std::string& text) {
    std::string all;
    while (all.find(text) == std::string::npos) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 5000) <= 0) break;
      char b[4096];
      ssize_t n = recv(fd_, b, sizeof b, 0);
      if (n <= 0) break;
      all.append(b, static_cast<std::size_t>(n));
    }
    return all;
  }

 private:
  int fd_;
  bool connected_;
};

TEST(HttpTestServer, RecordsRawRequestsAndAnswersByPath) {
  HttpTestServer server;
  server.Route("/hello", HttpResponse::Text("hi there", "text/plain"));
  RawClient client(server.Port());
  ASSERT_TRUE(client.Connected());
  const std::string request = "POST /hello?q=1 HTTP/1.1\r\nHost: x\r\nContent-Length: 3\r\n\r\nabc";
  client.Send(request);
  EXPECT_EQ(client.ReadUntil("hi there"),
            "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 8\r\n\r\nhi there");
  // The same connection serves the next request; an unknown path is a 404.
  client.Send("GET /nowhere HTTP/1.1\r\nHost: x\r\n\r\n");
  EXPECT_NE(client.ReadUntil("not found").find("HTTP/1.1 404 Not Found\r\n"), std::string::npos);

  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].raw, request);
  EXPECT_EQ(requests[0].body, "abc");
  EXPECT_EQ(requests[1].target, "/nowhere");
}

TEST(HttpTestServer, HandlersSeeTheRequest) {
  HttpTestServer server;
  server.Route("/echo", [](const HttpRequestRecord& r) { return HttpResponse::Text(r.Header("X-Say")); });
  RawClient client(server.Port());
  client.Send("GET /echo HTTP/1.0\r\nX-Say: ping\r\n\r\n");
  std::string reply = client.ReadToEnd();  // HTTP/1.0: the server closes after the answer
  EXPECT_EQ(reply.substr(reply.size() - 4), "ping");
}

TEST(HttpTestServer, SendsChunkedAndGeneratedBodiesAndLongHeaderBlocks) {
  HttpTestServer server;
  server.Route("/chunked", HttpResponse::Chunked("abcdefg", 3));
  server.Route("/big", HttpResponse::Generated(100000));
  server.Route("/long", HttpResponse::LongHeaders("after", 1100));
  RawClient client(server.Port());
  client.Send("GET /chunked HTTP/1.1\r\n\r\n");
  std::string chunked = client.ReadUntil("0\r\n\r\n");
  EXPECT_NE(chunked.find("\r\n\r\n3\r\nabc\r\n3\r\ndef\r\n1\r\ng\r\n0\r\n\r\n"), std::string::npos) << chunked;

  RawClient big(server.Port());
  big.Send("GET /big HTTP/1.0\r\n\r\n");
  std::string reply = big.ReadToEnd();
  std::string body = reply.substr(reply.find("\r\n\r\n") + 4);
  ASSERT_EQ(body.size(), 100000u);
  for (std::size_t i : {0u, 25u, 26u, 65535u, 65536u, 99999u}) EXPECT_EQ(body[i], GeneratedByte(i)) << i;

  RawClient longHeaders(server.Port());
  longHeaders.Send("GET /long HTTP/1.0\r\n\r\n");
  std::string withLongHeaders = longHeaders.ReadToEnd();
  const std::size_t blockEnd = withLongHeaders.find("\r\n\r\n");
  EXPECT_GE(blockEnd + 4, 1100u);
  EXPECT_LT(blockEnd + 4, 1300u);
  EXPECT_EQ(withLongHeaders.substr(blockEnd + 4), "after");
}

TEST(HttpTestServer, ResetsInTheMiddleOfTheBody) {
  HttpTestServer server;
  server.Route("/broken", HttpResponse::ResetMidBody(std::string(1000, 'x'), 300));
  RawClient client(server.Port());
  client.Send("GET /broken HTTP/1.1\r\n\r\n");
  bool reset = false;
  std::string reply = client.ReadToEnd(&reset);
  EXPECT_TRUE(reset);
  EXPECT_NE(reply.find("Content-Length: 1000\r\n"), std::string::npos);
  EXPECT_EQ(reply.size() - (reply.find("\r\n\r\n") + 4), 300u);
}

TEST(HttpTestServer, SilenceAndDripEndWhenTheServerStops) {
  HttpTestServer server;
  server.Route("/silent", HttpResponse::Silence());
  server.Route("/drip", HttpResponse::Drip("abcdef", 2, 10ms));
  RawClient drip(server.Port());
  drip.Send("GET /drip HTTP/1.0\r\n\r\n");
  std::string dripped = drip.ReadToEnd();
  EXPECT_EQ(dripped.substr(dripped.size() - 6), "abcdef");

  RawClient silent(server.Port());
  silent.Send("GET /silent HTTP/1.1\r\n\r\n");
  while (server.RequestCount() < 2) std::this_thread::yield();
  server.Stop();
  EXPECT_EQ(silent.ReadToEnd(), "");  // closed without a byte
}

TEST(HttpTestServer, StopsByItselfAtTheEndOfItsLifetimeAndRequestLimit) {
  HttpServerOptions options;
  options.lifetime = 200ms;
  HttpTestServer shortLived(options);
  shortLived.Route("/silent", HttpResponse::Silence());
  RawClient client(shortLived.Port());
  client.Send("GET /silent HTTP/1.1\r\n\r\n");
  EXPECT_EQ(client.ReadToEnd(), "");  // ends well before the client's own five seconds

  HttpServerOptions limited;
  limited.maxRequests = 1;
  HttpTestServer server(limited);
  RawClient first(server.Port());
  first.Send("GET /a HTTP/1.1\r\n\r\nGET /b HTTP/1.1\r\n\r\n");
  std::string replies = first.ReadToEnd();
  EXPECT_EQ(replies.find("HTTP/1.1 404"), 0u);
  EXPECT_EQ(replies.find("HTTP/1.1", 1), std::string::npos);
  EXPECT_EQ(server.RequestCount(), 1u);
}

TEST(HttpTestServer, SpeaksTlsWithAGeneratedCertificate) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / ("panlift-tls-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  TlsCertificate certificate = MakeSelfSignedCertificate(dir.string());
  HttpServerOptions options;
  options.certificateFile = certificate.certificateFile;
  options.privateKeyFile = certificate.privateKeyFile;
  HttpTestServer server(options);
  server.Route("/secure", HttpResponse::Text("secret"));
  EXPECT_EQ(server.Url("/x").rfind("https://127.0.0.1:", 0), 0u);

  // A client that trusts exactly that certificate completes the handshake and the exchange.
  SSL_CTX* context = SSL_CTX_new(TLS_client_method());
  ASSERT_EQ(SSL_CTX_load_verify_locations(context, certificate.certificateFile.c_str(), nullptr), 1);
  SSL_CTX_set_verify(context, SSL_VERIFY_PEER, nullptr);
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(server.Port());
  ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  SSL* ssl = SSL_new(context);
  SSL_set_fd(ssl, fd);
  SSL_set1_host(ssl, "localhost");
  ASSERT_EQ(SSL_connect(ssl), 1);
  const std::string request = "GET /secure HTTP/1.0\r\n\r\n";
  SSL_write(ssl, request.data(), static_cast<int>(request.size()));
  std::string reply;
  char b[4096];
  int n;
  while ((n = SSL_read(ssl, b, sizeof b)) > 0) reply.append(b, static_cast<std::size_t>(n));
  EXPECT_EQ(reply.substr(reply.size() - 6), "secret");
  SSL_free(ssl);
  close(fd);
  SSL_CTX_free(context);
  server.Stop();
  EXPECT_EQ(server.Requests().at(0).raw, request);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace testsupport
