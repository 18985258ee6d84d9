// Plain HTTP exchanges with the simulator for its tests, naming the Host header freely.
#pragma once

#include <httplib.h>

#include <string>

#include "codepage/codepage.h"

namespace share_simulator_test {

struct Reply {
  int status = 0;  // 0: no answer
  std::string body;
};

inline Reply Send(int port, const std::string& method, const std::string& host, const std::string& path,
                  const std::string& body = "") {
  httplib::Client client("127.0.0.1", port);
  client.set_read_timeout(30);
  httplib::Headers headers = {{"Host", host}};
  httplib::Result result = method == "POST"
                               ? client.Post(path.c_str(), headers, body, "application/x-www-form-urlencoded")
                               : client.Get(path.c_str(), headers);
  if (!result) return {};
  return {result->status, result->body};
}

inline Reply Get(int port, const std::string& host, const std::string& path) { return Send(port, "GET", host, path); }

// "http://host/path" -> {host, path}
inline std::pair<std::string, std::string> SplitLink(const std::string& link) {
  std::string rest = link.substr(link.find("//") + 2);
  std::size_t slash = rest.find('/');
  return {rest.substr(0, slash), rest.substr(slash)};
}

inline std::string PercentDecode(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace share_simulator_test
