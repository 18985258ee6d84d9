// Runs the built panlift-simulator as a child process for a test: on a free loopback port,
// ready when the constructor returns, stopped by the destructor. Also says what it serves,
// from the catalogue itself, so that a test can check a resolver's results against it.
#pragma once

#include <sys/types.h>

#include <csignal>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// One share as a resolver should see it: the values of the page's last file.
struct SimulatedShare {
  std::string service;  // "xunlei", "baidu", "360"
  std::string id;
  std::string link;     // the share link, e.g. "http://pan.baidu.com/s/<id>"
  std::string name;     // UTF-8
  std::uint64_t size = 0;
  std::string md5;      // what the page reports (Xunlei's key, Baidu's md5, 360's fhash)
  std::string downloadAddress;  // what a resolver returns (http://127.0.0.1:<port>/...)
  bool downloadable = false;    // within the servable limit: the address serves the bytes
  bool hasFields = true;        // false: the page carries none of the fields
  std::string errmsg;           // 360 Pan: the endpoint's "errmsg" ("操作成功" on success)
  std::size_t fileCount = 1;    // files the page lists
};

struct SimulatorOptions {
  std::string catalogue;  // empty: the default catalogue of the source tree
  bool quiet = false;     // true: no request log on standard error
};

class Simulator {
 public:
  // Starts the simulator and waits (bounded) until it is ready; throws std::runtime_error
  // when it does not start (the message holds what it printed).
  explicit Simulator(SimulatorOptions options = {});
  ~Simulator();  // Stop()
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  int Port() const { return port_; }
  const std::string& ConnectTo() const { return connectTo_; }  // the PANLIFT_CONNECT_TO value
  const std::vector<std::string>& Links() const { return links_; }  // as it printed them
  const std::vector<SimulatedShare>& Shares() const { return shares_; }
  const SimulatedShare& Share(std::string_view id) const;  // throws std::out_of_range

  // Sends the signal (SIGTERM by default), waits (bounded; SIGKILL after it) and returns the
  // exit status as waitpid gives it; later calls return the same.
  int Stop(int signal = SIGTERM);

  static std::string ExecutablePath();
  static std::string DefaultCatalogue();

 private:
  pid_t pid_ = -1;
  int status_ = -1;
  int port_ = 0;
  std::string connectTo_;
  std::vector<std::string> links_;
  std::vector<SimulatedShare> shares_;
};

}  // namespace testsupport
