// Sends one scripted response, faults included.
#pragma once

#include "stream.h"
#include "testsupport/http_server.h"

namespace testsupport {

// The status line and header block that SendResponse writes first.
std::string ResponseHead(const HttpResponse& response);

enum class AfterResponse { KeepOpen, Close, Gone };

// Gone: the connection was reset or could not be written, and must not be touched.
AfterResponse SendResponse(Stream& stream, const HttpResponse& response, const HttpRequestRecord& request);

}  // namespace testsupport
