// The transport faults of a share page (catalogue "fault"), done on the request's own
// connection: what a broken or hostile server does to a client on the wire.
#pragma once

#include <functional>

#include "routing.h"

namespace httplib {
struct Request;
struct Response;
}  // namespace httplib

namespace share_simulator {

// Answers `request` with the fault of `answer` (answer.body is the page it spoils).
// `running` says whether the server still runs: waits end when it no longer does.
void RespondWithFault(const Answer& answer, const httplib::Request& request, httplib::Response& response,
                      const std::function<bool()>& running);

}  // namespace share_simulator
