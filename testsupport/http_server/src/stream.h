// One accepted connection of the test server, plain or TLS, whose every wait ends when the
// server stops or its lifetime runs out: no server thread can block for ever.
#pragma once

#include <chrono>
#include <cstddef>
#include <string_view>

using SSL_CTX = struct ssl_ctx_st;
using SSL = struct ssl_st;

namespace testsupport {

// Raised once when the server stops; every stream polls its descriptor.
class StopSignal {
 public:
  StopSignal();
  ~StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;
  int Descriptor() const { return fd_; }
  void Raise();
  bool Raised() const;

 private:
  int fd_;
};

class Stream {
 public:
  using Clock = std::chrono::steady_clock;
  // Takes the descriptor; tls null means plain TCP.
  Stream(int fd, const StopSignal& stop, Clock::time_point deadline, SSL_CTX* tls);
  ~Stream();
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;

  bool Handshake();  // the TLS handshake; nothing to do for plain TCP
  // Bytes read (> 0), 0 at the end of the stream, -1 on failure, stop or deadline.
  long Read(char* buffer, std::size_t size);
  bool WriteAll(std::string_view bytes);
  // Discards input until the peer closes or the server stops.
  void WaitForClose();
  // Waits, unless the server stops first (then false).
  bool Sleep(std::chrono::milliseconds duration);
  // Ends the connection with a TCP reset instead of an orderly close.
  void Reset();

 private:
  enum class Wait { Ready, Stopped };
  Wait WaitFor(short events, Clock::time_point until);

  int fd_;
  const StopSignal& stop_;
  Clock::time_point deadline_;
  SSL* ssl_ = nullptr;
};

}  // namespace testsupport
