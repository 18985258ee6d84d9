// Reads HTTP/1.x requests off a connection, one after the other, keeping their raw bytes.
#pragma once

#include <optional>
#include <string>

#include "stream.h"
#include "testsupport/http_server.h"

namespace testsupport {

inline constexpr std::size_t kMaxRequestHead = 64 * 1024;
inline constexpr std::size_t kMaxRequestBody = 64 * 1024 * 1024;

// Splits a complete request head (request line and header lines, without the blank line)
// into the record's method, target, version and headers. False when it is not HTTP.
bool ParseRequestHead(const std::string& head, HttpRequestRecord& record);

// Decodes a chunked body from the front of bytes: the body and the count of bytes the
// chunked encoding took (trailers included); nullopt while it is incomplete.
struct ChunkedBody {
  std::string body;
  std::size_t consumed;
};
std::optional<ChunkedBody> DecodeChunked(const std::string& bytes);

class RequestReader {
 public:
  explicit RequestReader(Stream& stream) : stream_(stream) {}
  // The next request; nullopt when the client closed, the server stopped or the request is
  // not well formed. Answers "Expect: 100-continue" itself before reading the body.
  std::optional<HttpRequestRecord> Next();

 private:
  bool Fill();  // reads more bytes into pending_; false at the end of the stream

  Stream& stream_;
  std::string pending_;  // bytes read but not yet consumed (pipelined requests)
};

}  // namespace testsupport
