// The HTTP/1.1 server on loopback (cpp-httplib): hands every request to Route, streams
// downloads in chunks and logs one line per request.
#pragma once

#include <atomic>
#include <memory>

#include "site.h"

namespace httplib {
class Server;
}

namespace share_simulator {

class Server {
 public:
  explicit Server(bool quiet);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Binds 127.0.0.1:port (0: a free port); returns the port, or -1 when it cannot.
  int Bind(int port);
  // Answers requests until Stop(); call once, after Bind.
  void Serve(const Site& site);
  // From any thread.
  void Stop();

 private:
  std::unique_ptr<httplib::Server> http_;
  bool quiet_;
  // Set by Stop() before the library stops: a fault that waits gives up, so the library's
  // stop, which waits for every request being answered, can finish.
  std::atomic<bool> stopping_{false};
};

}  // namespace share_simulator
