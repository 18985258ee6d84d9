#include "stream.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace testsupport {

StopSignal::StopSignal() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
StopSignal::~StopSignal() { close(fd_); }

void StopSignal::Raise() {
  std::uint64_t one = 1;
  [[maybe_unused]] ssize_t n = write(fd_, &one, sizeof one);
}

bool StopSignal::Raised() const {
  pollfd p{fd_, POLLIN, 0};
  return poll(&p, 1, 0) > 0;
}

Stream::Stream(int fd, const StopSignal& stop, Clock::time_point deadline, SSL_CTX* tls)
    : fd_(fd), stop_(stop), deadline_(deadline) {
  if (tls) {
    ssl_ = SSL_new(tls);
    SSL_set_fd(ssl_, fd_);
  }
}

Stream::~Stream() {
  if (ssl_) {
    SSL_shutdown(ssl_);  // best effort close_notify; the socket is non-blocking
    SSL_free(ssl_);
  }
  if (fd_ >= 0) close(fd_);
}

Stream::Wait Stream::WaitFor(short events, Clock::time_point until) {
  for (;;) {
    auto now = Clock::now();
    if (now >= until || stop_.Raised()) return Wait::Stopped;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - now).count() + 1;
    pollfd p[2] = {{fd_, events, 0}, {stop_.Descriptor(), POLLIN, 0}};
    int n = poll(p, 2, static_cast<int>(left > 1000 ? 1000 : left));
    if (n < 0 && errno != EINTR) return Wait::Stopped;
    if (p[1].revents) return Wait::Stopped;
    if (p[0].revents) return Wait::Ready;
  }
}

bool Stream::Handshake() {
  if (!ssl_) return true;
  for (;;) {
    int r = SSL_accept(ssl_);
    if (r == 1) return true;
    int e = SSL_get_error(ssl_, r);
    short events = e == SSL_ERROR_WANT_READ ? POLLIN : e == SSL_ERROR_WANT_WRITE ? POLLOUT : 0;
    if (!events || WaitFor(events, deadline_) != Wait::Ready) {
      ERR_clear_error();
      return false;
    }
  }
}

long Stream::Read(char* buffer, std::size_t size) {
  for (;;) {
    short events = POLLIN;
    if (ssl_) {
      int r = SSL_read(ssl_, buffer, static_cast<int>(size));
      if (r > 0) return r;
      int e = SSL_get_error(ssl_, r);
      if (e == SSL_ERROR_ZERO_RETURN) return 0;
      if (e == SSL_ERROR_WANT_WRITE) {
        events = POLLOUT;
      } else if (e != SSL_ERROR_WANT_READ) {
        ERR_clear_error();
        return e == SSL_ERROR_SYSCALL && errno == 0 ? 0 : -1;
      }
    } else {
      ssize_t r = recv(fd_, buffer, size, 0);
      if (r >= 0) return static_cast<long>(r);
      if (errno != EAGAIN && errno != EINTR) return -1;
    }
    if (WaitFor(events, deadline_) != Wait::Ready) return -1;
  }
}

bool Stream::WriteAll(std::string_view bytes) {
  while (!bytes.empty()) {
    short events = POLLOUT;
    if (ssl_) {
      int r = SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size() > (1 << 20) ? 1 << 20 : bytes.size()));
      if (r > 0) {
        bytes.remove_prefix(static_cast<std::size_t>(r));
        continue;
      }
      int e = SSL_get_error(ssl_, r);
      if (e == SSL_ERROR_WANT_READ) {
        events = POLLIN;
      } else if (e != SSL_ERROR_WANT_WRITE) {
        ERR_clear_error();
        return false;
      }
    } else {
      ssize_t r = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (r > 0) {
        bytes.remove_prefix(static_cast<std::size_t>(r));
        continue;
      }
      if (r < 0 && errno != EAGAIN && errno != EINTR) return false;
    }
    if (WaitFor(events, deadline_) != Wait::Ready) return false;
  }
  return true;
}

void Stream::WaitForClose() {
  char sink[4096];
  while (Read(sink, sizeof sink) > 0) {
  }
}

bool Stream::Sleep(std::chrono::milliseconds duration) {
  auto until = Clock::now() + duration;
  if (until > deadline_) return false;
  // Waiting for nothing on the socket: only the stop signal or the time can end it.
  for (;;) {
    auto now = Clock::now();
    if (now >= until) return true;
    if (stop_.Raised()) return false;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - now).count() + 1;
    pollfd p{stop_.Descriptor(), POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left)) > 0) return false;
  }
}

void Stream::Reset() {
  linger abortive{1, 0};
  setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
  if (ssl_) {
    SSL_free(ssl_);  // no close_notify: the connection is torn down
    ssl_ = nullptr;
  }
  close(fd_);
  fd_ = -1;
}

}  // namespace testsupport
