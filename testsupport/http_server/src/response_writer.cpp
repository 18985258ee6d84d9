#include "response_writer.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>

namespace testsupport {
namespace {

constexpr std::size_t kPiece = 64 * 1024;

bool HasHeader(const HttpResponse& response, const char* name) {
  return std::any_of(response.headers.begin(), response.headers.end(),
                     [name](const auto& h) { return strcasecmp(h.first.c_str(), name) == 0; });
}

std::uint64_t BodyLength(const HttpResponse& response) {
  return response.generatedBytes ? response.generatedBytes : response.body.size();
}

// Bytes [offset, offset + size) of the body, written into piece.
void BodyPiece(const HttpResponse& response, std::uint64_t offset, std::size_t size, std::string& piece) {
  if (!response.generatedBytes) {
    piece.assign(response.body, static_cast<std::size_t>(offset), size);
    return;
  }
  // The pattern repeats every 26 bytes: copy from a precomputed run at the right phase.
  static const std::string run = [] {
    std::string s(kPiece + 26, '\0');
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = GeneratedByte(i);
    return s;
  }();
  piece.assign(run, static_cast<std::size_t>(offset % 26), size);
}

bool SendPiece(Stream& stream, const HttpResponse& response, const std::string& piece) {
  if (response.framing != HttpResponse::Framing::Chunked) return stream.WriteAll(piece);
  char size[32];
  std::snprintf(size, sizeof size, "%zx\r\n", piece.size());
  return stream.WriteAll(std::string(size) + piece + "\r\n");
}

}  // namespace

std::string ResponseHead(const HttpResponse& response) {
  std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " + response.reason + "\r\n";
  for (const auto& [name, value] : response.headers) head += name + ": " + value + "\r\n";
  if (response.framing == HttpResponse::Framing::ContentLength && !HasHeader(response, "Content-Length")) {
    head += "Content-Length: " + std::to_string(BodyLength(response)) + "\r\n";
  }
  if (response.framing == HttpResponse::Framing::Chunked && !HasHeader(response, "Transfer-Encoding")) {
    head += "Transfer-Encoding: chunked\r\n";
  }
  return head + "\r\n";
}

AfterResponse SendResponse(Stream& stream, const HttpResponse& response, const HttpRequestRecord& request) {
  if (response.raw) return stream.WriteAll(*response.raw) ? AfterResponse::Close : AfterResponse::Gone;
  if (response.silent) {
    stream.WaitForClose();
    return AfterResponse::Close;
  }
  if (!stream.WriteAll(ResponseHead(response))) return AfterResponse::Gone;

  const bool head = strcasecmp(request.method.c_str(), "HEAD") == 0;
  const std::uint64_t length = head ? 0 : BodyLength(response);
  const std::uint64_t stopAt = response.resetAfterBodyBytes ? std::min(*response.resetAfterBodyBytes, length) : length;
  std::size_t step = response.dripBytes ? response.dripBytes : kPiece;
  if (response.framing == HttpResponse::Framing::Chunked && response.chunkSize) step = response.chunkSize;
  if (response.generatedBytes) step = std::min(step, kPiece);

  std::string piece;
  for (std::uint64_t sent = 0; sent < stopAt;) {
    if (response.dripBytes && sent > 0 && !stream.Sleep(response.dripInterval)) return AfterResponse::Close;
    std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(step, stopAt - sent));
    BodyPiece(response, sent, size, piece);
    if (!SendPiece(stream, response, piece)) return AfterResponse::Gone;
    sent += size;
  }
  if (response.resetAfterBodyBytes) {
    // Give the bytes sent a moment to reach the client before the reset overtakes them.
    stream.Sleep(std::chrono::milliseconds(50));
    stream.Reset();
    return AfterResponse::Gone;
  }
  if (response.framing == HttpResponse::Framing::Chunked && !head && !stream.WriteAll("0\r\n\r\n")) {
    return AfterResponse::Gone;
  }
  if (response.framing == HttpResponse::Framing::UntilClose || response.closeAfter) return AfterResponse::Close;
  const bool http11 = request.version == "HTTP/1.1";
  if (!http11 || strcasecmp(request.Header("Connection").c_str(), "close") == 0) return AfterResponse::Close;
  return AfterResponse::KeepOpen;
}

}  // namespace testsupport
