// What to answer a request: chosen by the Host header (without its port), then by path.
#pragma once

#include <string>
#include <string_view>

#include "site.h"

namespace share_simulator {

struct Request {
  std::string_view method;
  std::string_view host;  // the Host header as sent
  std::string_view path;  // without the query
  std::string_view body;
};

struct Answer {
  int status = 404;
  std::string contentType = "text/plain; charset=utf-8";
  std::string body = "404 Not Found\n";
  const ServedFile* download = nullptr;  // stream this file's contents instead of body
  // A share page whose share has a transport fault: the server applies it to the page.
  Fault fault = Fault::None;
  int faultSeconds = 0;
};

Answer Route(const Site& site, const Request& request);

// "Kuai.Xunlei.com:80" -> "kuai.xunlei.com".
std::string HostName(std::string_view hostHeader);

}  // namespace share_simulator
