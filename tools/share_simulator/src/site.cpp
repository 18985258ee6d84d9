#include "site.h"

#include "share_simulator/addresses.h"

namespace share_simulator {

Site::Site(Catalogue catalogue, int port)
    : catalogue_(std::move(catalogue)), port_(port), origin_("http://" + std::string(kLoopback) + ":" + std::to_string(port)) {
  for (const Share& share : catalogue_.shares) {
    shares_.push_back({&share, ShareLink(share), ServedFiles(share, origin_)});
  }
}

const ServedShare* Site::Find(std::string_view id) const {
  for (const ServedShare& served : shares_) {
    if (served.share->id == id) return &served;
  }
  return nullptr;
}

const ServedShare* Site::Find(Service service, std::string_view id) const {
  const ServedShare* served = Find(id);
  return served && served->share->service == service ? served : nullptr;
}

}  // namespace share_simulator
