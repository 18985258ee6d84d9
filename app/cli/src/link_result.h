// What one link came to: the five output boxes as the window showed them, in UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "link_service.h"

namespace cli {

struct LinkResult {
  std::string link;
  Service service = Service::Xunlei;
  std::string name;
  std::string extension;
  std::string size;
  std::string hash;
  std::string url;  // the download-address box: an address, empty, or the service's answer
};

// The box holds an address ("http://" or "https://", in any case) and not something else.
bool IsAddress(std::string_view url);

}  // namespace cli
