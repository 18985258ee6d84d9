// The server: one thread accepts, one thread serves each connection; all of them end when
// the stop signal is raised (by Stop, by the destructor or when the lifetime runs out).
#include "testsupport/http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "request_reader.h"
#include "response_writer.h"
#include "stream.h"

namespace testsupport {

namespace {
constexpr std::size_t kMaxConnections = 256;

// A write to a socket the client already closed must fail with EPIPE, not kill the test.
void IgnoreBrokenPipesOnThisThread() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}
}  // namespace

struct HttpTestServer::State {
  HttpServerOptions options;
  Stream::Clock::time_point deadline;
  StopSignal stop;
  int listenFd = -1;
  std::uint16_t port = 0;
  SSL_CTX* tls = nullptr;

  mutable std::mutex mutex;  // guards what follows
  std::map<std::string, HttpHandler> routes;
  std::vector<HttpRequestRecord> requests;
  std::vector<std::thread> connections;
  std::thread acceptor;
  bool stopped = false;

  ~State() {
    if (listenFd >= 0) close(listenFd);
    if (tls) SSL_CTX_free(tls);
  }

  // Records the request and finds its answer; nullopt once the request limit is reached.
  std::optional<HttpResponse> Answer(const HttpRequestRecord& request) {
    HttpHandler handler;
    {
      std::lock_guard lock(mutex);
      if (requests.size() >= static_cast<std::size_t>(options.maxRequests)) return std::nullopt;
      requests.push_back(request);
      auto route = routes.find(request.Path());
      if (route != routes.end()) handler = route->second;
    }
    if (!handler) return HttpResponse::Status(404, "Not Found", "not found");
    return handler(request);
  }

  void Serve(int fd) {
    IgnoreBrokenPipesOnThisThread();
    Stream stream(fd, stop, deadline, tls);
    if (!stream.Handshake()) return;
    RequestReader reader(stream);
    while (auto request = reader.Next()) {
      std::optional<HttpResponse> response = Answer(*request);
      if (!response) return;
      if (SendResponse(stream, *response, *request) != AfterResponse::KeepOpen) return;
    }
  }

  void Accept() {
    IgnoreBrokenPipesOnThisThread();
    for (;;) {
      auto now = Stream::Clock::now();
      if (now >= deadline) break;
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count() + 1;
      pollfd p[2] = {{listenFd, POLLIN, 0}, {stop.Descriptor(), POLLIN, 0}};
      if (poll(p, 2, static_cast<int>(left > 1000 ? 1000 : left)) < 0) continue;
      if (p[1].revents) return;
      if (!p[0].revents) continue;
      int fd = accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (fd < 0) continue;
      std::lock_guard lock(mutex);
      if (stopped || connections.size() >= kMaxConnections) {
        close(fd);
        continue;
      }
      connections.emplace_back([this, fd] { Serve(fd); });
    }
    stop.Raise();  // the lifetime is over: end the connections too
  }
};

HttpTestServer::HttpTestServer(HttpServerOptions options) : state_(std::make_shared<State>()) {
  State& s = *state_;
  s.options = std::move(options);
  s.deadline = Stream::Clock::now() + s.options.lifetime;

  if (!s.options.certificateFile.empty() && !s.options.privateKeyFile.empty()) {
    s.tls = SSL_CTX_new(TLS_server_method());
    if (!s.tls || SSL_CTX_use_certificate_chain_file(s.tls, s.options.certificateFile.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(s.tls, s.options.privateKeyFile.c_str(), SSL_FILETYPE_PEM) != 1) {
      throw std::runtime_error("test server: cannot load the TLS certificate or key");
    }
  }

  s.listenFd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;  // a free port
  socklen_t size = sizeof address;
  if (s.listenFd < 0 || bind(s.listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(s.listenFd, 64) != 0 || getsockname(s.listenFd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    throw std::runtime_error("test server: cannot listen on the loopback interface");
  }
  s.port = ntohs(address.sin_port);
  s.acceptor = std::thread([state = state_] { state->Accept(); });
}

HttpTestServer::~HttpTestServer() { Stop(); }

void HttpTestServer::Stop() {
  State& s = *state_;
  s.stop.Raise();
  if (s.acceptor.joinable()) s.acceptor.join();
  std::vector<std::thread> connections;
  {
    std::lock_guard lock(s.mutex);
    s.stopped = true;
    connections.swap(s.connections);
  }
  for (std::thread& t : connections) t.join();
}

std::uint16_t HttpTestServer::Port() const { return state_->port; }

std::string HttpTestServer::HostPort() const { return "127.0.0.1:" + std::to_string(state_->port); }

std::string HttpTestServer::Url(std::string_view target) const {
  return std::string(state_->tls ? "https://" : "http://") + HostPort() + std::string(target);
}

void HttpTestServer::Route(std::string path, HttpResponse response) {
  Route(std::move(path), [response = std::move(response)](const HttpRequestRecord&) { return response; });
}

void HttpTestServer::Route(std::string path, HttpHandler handler) {
  std::lock_guard lock(state_->mutex);
  state_->routes[std::move(path)] = std::move(handler);
}

std::vector<HttpRequestRecord> HttpTestServer::Requests() const {
  std::lock_guard lock(state_->mutex);
  return state_->requests;
}

std::size_t HttpTestServer::RequestCount() const {
  std::lock_guard lock(state_->mutex);
  return state_->requests.size();
}

}  // namespace testsupport
