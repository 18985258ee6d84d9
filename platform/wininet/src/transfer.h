// One HTTP exchange over libcurl's multi interface, driven from the calling thread.
//
// AwaitHead pumps until the response's header block is complete; Read then hands out the
// body as it arrives through a bounded ring: when the ring is full the transfer is paused
// (CURL_WRITEFUNC_PAUSE) until the reader drains it, so memory stays flat however large
// the body. Every wait is a poll on the transfer's sockets, never a spin, and ends when the
// timeout that applies to the current phase passes without progress.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <curl/curl.h>

#include "byte_ring.h"
#include "response_cookies.h"
#include "response_head.h"
#include "win/types.h"

namespace wininet {

// Milliseconds, each above 0: there is no wait without a limit.
struct TransferTimeouts {
  DWORD connect = 60000;
  DWORD send = 60000;         // while the request body goes out
  DWORD receive = 60000;      // while waiting for the response's headers
  DWORD bodyReceive = 60000;  // while waiting for more of the body
};

struct TransferSpec {
  std::string url;
  std::string verb;  // as the request line shows it
  bool http10 = false;
  bool sendsBody = false;  // a body (possibly empty) goes out with Content-Length
  std::string body;
  std::vector<std::string> headerLines;  // libcurl syntax
  std::string userAgent;                 // empty: none
  std::string userName, password;
  std::string proxy, noProxy;  // proxy "": direct
  std::string proxyUserName, proxyPassword;
  bool cookies = true;
  bool verifyHostName = true;
  std::vector<std::string> connectTo;
  TransferTimeouts timeouts;
};

class Transfer {
 public:
  explicit Transfer(TransferSpec spec);
  ~Transfer();
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;

  // Starts the exchange and waits for the final response's header block (interim 1xx
  // responses are skipped). 0, or the WinInet error that ended it.
  DWORD AwaitHead();
  const ResponseHead& Head() const { return head_; }
  const TransferSpec& Spec() const { return spec_; }

  // Waits for at least one byte of the body, its end (*count 0) or a failure (the error);
  // bytes that arrived before a failure are handed out first.
  DWORD Read(char* buffer, std::size_t size, std::size_t* count);

 private:
  using Clock = std::chrono::steady_clock;
  enum class Waiting { ForHead, ForBody };

  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);
  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);
  static int OnProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded);
  static int OnConnected(void* self, char*, char*, int, int);

  DWORD Configure();
  // Pumps the transfer until the wanted state is reached, it ends, or a timeout passes.
  DWORD PumpUntil(Waiting waiting);
  bool Reached(Waiting waiting) const;
  DWORD CurrentLimit(Waiting waiting) const;
  void Resume();

  TransferSpec spec_;
  CURLM* multi_ = nullptr;
  CURL* easy_ = nullptr;
  curl_slist* headers_ = nullptr;
  curl_slist* connectTo_ = nullptr;
  std::unique_ptr<ResponseCookies> cookies_;  // null when the request refuses cookies
  bool started_ = false;

  ResponseHead head_;
  bool headComplete_ = false;
  ByteRing ring_;
  bool paused_ = false;
  bool done_ = false;
  CURLcode result_ = CURLE_OK;

  bool connected_ = false;
  curl_off_t uploaded_ = 0;
  Clock::time_point lastActivity_;
};

}  // namespace wininet
