// The content faults of a share (catalogue "fault"): its page or the 360 Pan endpoint's
// answer as a hostile server would write them. The transport faults are the server's.
#pragma once

#include <string>

#include "site.h"

namespace share_simulator {

// The page (UTF-8) with the share's content fault worked in; unchanged for other faults.
std::string WithPageFault(const ServedShare& served, std::string page);
// The endpoint's answer with the share's content fault worked in.
std::string WithAnswerFault(const ServedShare& served, std::string answer);

bool IsTransportFault(Fault fault);

// The size the huge answer is made to: where a page read stops.
inline constexpr std::size_t kHugeAnswerBytes = 64u << 20;

}  // namespace share_simulator
