// The catalogue as served at one address: each share with its link and its files' hashes
// and download addresses. Read-only once built, so request threads share it freely.
#pragma once

#include <string>
#include <vector>

#include "share_simulator/catalogue.h"
#include "share_simulator/served_files.h"

namespace share_simulator {

struct ServedShare {
  const Share* share = nullptr;
  std::string link;
  std::vector<ServedFile> files;  // page order; the last is the share's own file
};

class Site {
 public:
  Site(Catalogue catalogue, int port);
  Site(const Site&) = delete;
  Site& operator=(const Site&) = delete;

  int Port() const { return port_; }
  const std::string& Origin() const { return origin_; }  // "http://127.0.0.1:<port>"
  const std::vector<ServedShare>& Shares() const { return shares_; }
  const ServedShare* Find(std::string_view id) const;
  const ServedShare* Find(Service service, std::string_view id) const;

 private:
  Catalogue catalogue_;
  int port_;
  std::string origin_;
  std::vector<ServedShare> shares_;
};

}  // namespace share_simulator
