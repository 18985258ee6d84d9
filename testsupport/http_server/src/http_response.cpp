// The response builders and the request record's header lookups.
#include <strings.h>

#include "testsupport/http_server.h"

namespace testsupport {

std::string HttpRequestRecord::Header(std::string_view name) const {
  for (const auto& [n, v] : headers) {
    if (n.size() == name.size() && strncasecmp(n.data(), name.data(), n.size()) == 0) return v;
  }
  return "";
}

bool HttpRequestRecord::HasHeader(std::string_view name) const { return HeaderCount(name) > 0; }

int HttpRequestRecord::HeaderCount(std::string_view name) const {
  int count = 0;
  for (const auto& header : headers) {
    const std::string& n = header.first;
    if (n.size() == name.size() && strncasecmp(n.data(), name.data(), n.size()) == 0) ++count;
  }
  return count;
}

std::string HttpRequestRecord::Path() const { return target.substr(0, target.find('?')); }

HttpResponse HttpResponse::Text(std::string body, std::string contentType) {
  HttpResponse r;
  r.body = std::move(body);
  r.headers.emplace_back("Content-Type", std::move(contentType));
  return r;
}

HttpResponse HttpResponse::Status(int status, std::string reason, std::string body) {
  HttpResponse r;
  r.status = status;
  r.reason = std::move(reason);
  r.body = std::move(body);
  return r;
}

HttpResponse HttpResponse::Redirect(int status, std::string location) {
  static const char* const reasons[] = {"Moved Permanently", "Found", "See Other"};
  HttpResponse r;
  r.status = status;
  r.reason = status >= 301 && status <= 303 ? reasons[status - 301] : "Redirect";
  r.headers.emplace_back("Location", std::move(location));
  r.body = "moved";
  return r;
}

HttpResponse HttpResponse::Chunked(std::string body, std::size_t chunkSize) {
  HttpResponse r = Text(std::move(body));
  r.framing = Framing::Chunked;
  r.chunkSize = chunkSize;
  return r;
}

HttpResponse HttpResponse::LongHeaders(std::string body, std::size_t minimumBytes) {
  HttpResponse r = Text(std::move(body));
  auto lineBytes = [](const std::string& name, const std::string& value) { return name.size() + value.size() + 4; };
  std::size_t bytes = std::string("HTTP/1.1 200 OK\r\n\r\n").size();
  for (const auto& [name, value] : r.headers) bytes += lineBytes(name, value);
  for (int i = 1; bytes < minimumBytes; ++i) {
    r.headers.emplace_back("X-Filler-" + std::to_string(i), std::string(64, 'f'));
    bytes += lineBytes(r.headers.back().first, r.headers.back().second);
  }
  return r;
}

HttpResponse HttpResponse::Generated(std::uint64_t bytes) {
  HttpResponse r;
  r.headers.emplace_back("Content-Type", "application/octet-stream");
  r.generatedBytes = bytes;
  return r;
}

HttpResponse HttpResponse::ResetMidBody(std::string body, std::uint64_t bytesBeforeReset) {
  HttpResponse r = Text(std::move(body));
  r.resetAfterBodyBytes = bytesBeforeReset;
  return r;
}

HttpResponse HttpResponse::Silence() {
  HttpResponse r;
  r.silent = true;
  return r;
}

HttpResponse HttpResponse::Drip(std::string body, std::size_t bytesPerStep, std::chrono::milliseconds interval) {
  HttpResponse r = Text(std::move(body));
  r.dripBytes = bytesPerStep;
  r.dripInterval = interval;
  return r;
}

HttpResponse HttpResponse::Raw(std::string bytes) {
  HttpResponse r;
  r.raw = std::move(bytes);
  return r;
}

HttpResponse& HttpResponse::WithHeader(std::string name, std::string value) {
  headers.emplace_back(std::move(name), std::move(value));
  return *this;
}

char GeneratedByte(std::uint64_t index) { return static_cast<char>('A' + index % 26); }

}  // namespace testsupport
