#include "request_reader.h"

#include <cstdlib>
#include <strings.h>

namespace testsupport {
namespace {

std::string Trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  std::size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// Position just past the blank line that ends the head, or npos.
std::size_t HeadEnd(const std::string& bytes, std::size_t* headLength) {
  std::size_t crlf = bytes.find("\r\n\r\n");
  std::size_t lf = bytes.find("\n\n");
  if (crlf != std::string::npos && (lf == std::string::npos || crlf < lf)) {
    *headLength = crlf;
    return crlf + 4;
  }
  if (lf != std::string::npos) {
    *headLength = lf;
    return lf + 2;
  }
  return std::string::npos;
}

}  // namespace

bool ParseRequestHead(const std::string& head, HttpRequestRecord& record) {
  std::size_t lineEnd = head.find('\n');
  std::string requestLine = head.substr(0, lineEnd);
  if (!requestLine.empty() && requestLine.back() == '\r') requestLine.pop_back();
  std::size_t s1 = requestLine.find(' ');
  std::size_t s2 = requestLine.rfind(' ');
  if (s1 == std::string::npos || s2 == s1) return false;
  record.method = requestLine.substr(0, s1);
  record.target = requestLine.substr(s1 + 1, s2 - s1 - 1);
  record.version = requestLine.substr(s2 + 1);
  if (record.version.rfind("HTTP/", 0) != 0) return false;

  std::size_t pos = lineEnd == std::string::npos ? head.size() : lineEnd + 1;
  while (pos < head.size()) {
    std::size_t end = head.find('\n', pos);
    if (end == std::string::npos) end = head.size();
    std::string line = head.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    pos = end + 1;
    if (line.empty()) continue;
    std::size_t colon = line.find(':');
    if (colon == std::string::npos) return false;
    record.headers.emplace_back(line.substr(0, colon), Trim(line.substr(colon + 1)));
  }
  return true;
}

std::optional<ChunkedBody> DecodeChunked(const std::string& bytes) {
  ChunkedBody result{"", 0};
  std::size_t pos = 0;
  for (;;) {
    std::size_t lineEnd = bytes.find("\r\n", pos);
    if (lineEnd == std::string::npos) return std::nullopt;
    char* end = nullptr;
    unsigned long long size = std::strtoull(bytes.c_str() + pos, &end, 16);
    if (end == bytes.c_str() + pos || size > kMaxRequestBody) return std::nullopt;
    pos = lineEnd + 2;
    if (size == 0) break;
    if (bytes.size() < pos + size + 2) return std::nullopt;
    result.body.append(bytes, pos, size);
    pos += size + 2;
  }
  // Trailer lines up to the blank line.
  for (;;) {
    std::size_t lineEnd = bytes.find("\r\n", pos);
    if (lineEnd == std::string::npos) return std::nullopt;
    bool blank = lineEnd == pos;
    pos = lineEnd + 2;
    if (blank) break;
  }
  result.consumed = pos;
  return result;
}

bool RequestReader::Fill() {
  char buffer[16384];
  long n = stream_.Read(buffer, sizeof buffer);
  if (n <= 0) return false;
  pending_.append(buffer, static_cast<std::size_t>(n));
  return true;
}

std::optional<HttpRequestRecord> RequestReader::Next() {
  std::size_t headLength = 0;
  std::size_t bodyStart;
  while ((bodyStart = HeadEnd(pending_, &headLength)) == std::string::npos) {
    if (pending_.size() > kMaxRequestHead || !Fill()) return std::nullopt;
  }
  HttpRequestRecord record;
  if (!ParseRequestHead(pending_.substr(0, headLength), record)) return std::nullopt;

  if (strcasecmp(record.Header("Expect").c_str(), "100-continue") == 0 &&
      pending_.size() == bodyStart && !stream_.WriteAll("HTTP/1.1 100 Continue\r\n\r\n")) {
    return std::nullopt;
  }

  std::size_t requestEnd;
  if (strcasecmp(record.Header("Transfer-Encoding").c_str(), "chunked") == 0) {
    std::optional<ChunkedBody> chunked;
    while (!(chunked = DecodeChunked(pending_.substr(bodyStart)))) {
      if (pending_.size() - bodyStart > kMaxRequestBody || !Fill()) return std::nullopt;
    }
    record.body = std::move(chunked->body);
    requestEnd = bodyStart + chunked->consumed;
  } else {
    unsigned long long length = std::strtoull(record.Header("Content-Length").c_str(), nullptr, 10);
    if (length > kMaxRequestBody) return std::nullopt;
    while (pending_.size() - bodyStart < length) {
      if (!Fill()) return std::nullopt;
    }
    record.body = pending_.substr(bodyStart, length);
    requestEnd = bodyStart + length;
  }
  record.raw = pending_.substr(0, requestEnd);
  pending_.erase(0, requestEnd);
  return record;
}

}  // namespace testsupport
