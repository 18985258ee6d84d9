// The share pages of the three services, in UTF-8 (the router converts them to GBK), and the
// 360 Pan download endpoint's answer. Each carries its fields exactly where the resolvers'
// patterns and markers look for them.
#pragma once

#include <string>
#include <string_view>

#include "site.h"

namespace share_simulator {

std::string XunleiPage(const ServedShare& share);
std::string BaiduPage(const ServedShare& share);
std::string YunpanPage(const ServedShare& share);

// The "nid" of a 360 Pan share, which its page carries and the endpoint expects back.
std::string YunpanNid(const Share& share);

// The endpoint's JSON answer to a form body "shorturl=<surl>&nid=<nid>".
std::string YunpanDownloadAnswer(const Site& site, std::string_view formBody);

// Shared by the pages: HTML escaping of visible text, and a short size text ("1.50MB").
std::string HtmlEscape(std::string_view text);
std::string SizeText(std::uint64_t size);

}  // namespace share_simulator
