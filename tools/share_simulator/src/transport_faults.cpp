#include "transport_faults.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include <httplib.h>

namespace share_simulator {
namespace {

using namespace std::chrono_literals;

// The library does not hand out a request's socket: it is the one whose two ends are the
// request's addresses.
int ConnectionSocket(const httplib::Request& request) {
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    const int fd = std::atoi(entry.path().filename().c_str());
    sockaddr_in peer{}, local{};
    socklen_t peerLength = sizeof peer, localLength = sizeof local;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerLength) != 0 || peer.sin_family != AF_INET) continue;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localLength) != 0) continue;
    if (ntohs(peer.sin_port) == request.remote_port && ntohs(local.sin_port) == request.local_port) return fd;
  }
  return -1;
}

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
}

// Nothing more from this side; the library's own answer, written after, goes nowhere.
void EndSending(int fd) { shutdown(fd, SHUT_WR); }

// A TCP reset: the connection closed with a zero linger time, and an unconnected socket
// left under its number, which the library closes later as if it were the connection.
void Reset(int fd) {
  const linger now{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_LINGER, &now, sizeof now);
  const int placeholder = socket(AF_INET, SOCK_STREAM, 0);
  if (placeholder < 0) return EndSending(fd);
  dup2(placeholder, fd);
  close(placeholder);
}

void Wait(std::chrono::milliseconds time, const std::function<bool()>& running) {
  const auto end = std::chrono::steady_clock::now() + time;
  while (running() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(50ms);
}

std::string Head(const std::string& extra) {
  return "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=gbk\r\n" + extra + "\r\n";
}

std::string Garbage() {
  std::string bytes(4096, '\0');
  std::uint32_t x = 0x9E3779B9u;
  for (char& b : bytes) {
    x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    b = static_cast<char>(x);
  }
  return bytes;
}

// Page content that carries no fields, for ever.
const std::string& Filler() {
  static const std::string filler = [] {
    std::string text;
    while (text.size() < 64 * 1024) text += "<p>filler filler filler filler filler filler filler</p>\r\n";
    return text;
  }();
  return filler;
}

}  // namespace

void RespondWithFault(const Answer& answer, const httplib::Request& request, httplib::Response& response,
                      const std::function<bool()>& running) {
  const std::string& page = answer.body;
  switch (answer.fault) {
    case Fault::RedirectLoop:
      response.status = 302;
      response.set_header("Location", "http://" + request.get_header_value("Host") + request.path);
      return;
    case Fault::HugeHeaders:
      // 100 lines of 1 KiB: a block of 100 KiB before the page.
      for (int i = 0; i < 100; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "X-Filler-%03d", i);
        response.set_header(name, std::string(1024 - 16, 'h'));
      }
      response.status = 200;
      response.set_content(page, answer.contentType);
      return;
    case Fault::EndlessBody:
      // The page without its end, then filler until the client gives up.
      response.status = 200;
      response.set_chunked_content_provider(
          answer.contentType, [page, running, sent = std::size_t{0}](std::size_t, httplib::DataSink& sink) mutable {
            if (!running()) return false;
            const std::string& piece = sent == 0 ? page.substr(0, page.rfind("</body>")) : Filler();
            sent += piece.size();
            return sink.write(piece.data(), piece.size());
          });
      return;
    default: break;
  }

  // The rest are done on the connection itself.
  const int fd = ConnectionSocket(request);
  if (fd < 0) {
    response.status = 500;
    return;
  }
  switch (answer.fault) {
    case Fault::Silent:
      Wait(answer.faultSeconds > 0 ? std::chrono::milliseconds(answer.faultSeconds * 1000) : std::chrono::hours(24),
           running);
      EndSending(fd);
      return;
    case Fault::ResetMidBody: {
      // Everything but the page's end (its fields included), then a reset once the client has read it.
      const std::string sent = page.substr(0, page.rfind("</body>"));
      WriteAll(fd, Head("Content-Length: " + std::to_string(page.size()) + "\r\n") + sent);
      Wait(300ms, running);
      Reset(fd);
      return;
    }
    case Fault::BrokenChunks: {
      const std::string first = page.substr(0, 100);
      char size[16];
      std::snprintf(size, sizeof size, "%zx\r\n", first.size());
      WriteAll(fd, Head("Transfer-Encoding: chunked\r\n") + size + first + "\r\nzz\r\n" + page.substr(100) + "\r\n0\r\n\r\n");
      EndSending(fd);
      return;
    }
    case Fault::Garbage:
      WriteAll(fd, Garbage());
      EndSending(fd);
      return;
    default: return;
  }
}

}  // namespace share_simulator
