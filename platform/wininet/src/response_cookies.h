// The cookies that the responses of one transfer set, taken into the process's store.
//
// libcurl's engine reads the Set-Cookie lines by its own rules, but into a jar of the
// transfer's own (a share of its own), which is empty whenever libcurl builds a request:
// so libcurl never adds a Cookie header, and the request carries only the one the store
// composed. The jar is emptied into the store at the end of every response head, before
// libcurl could send again on the handle (an authentication retry). A line without "=",
// which libcurl refuses, is read here as InternetSetCookieA reads it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <curl/curl.h>

namespace wininet {

class ResponseCookies {
 public:
  // Lets transfer, the handle that requests url, read its responses' cookies into the jar.
  ResponseCookies(CURL* transfer, std::string url);
  ~ResponseCookies();  // after the transfer's handle is cleaned up
  ResponseCookies(const ResponseCookies&) = delete;
  ResponseCookies& operator=(const ResponseCookies&) = delete;

  // A header line of a response, as received.
  void NoteHeader(std::string_view line);
  // Stores what the responses so far have set.
  void Keep();

 private:
  std::string url_;
  CURLSH* share_ = nullptr;
  CURL* jar_ = nullptr;  // reaches the jar while the transfer runs
  std::vector<std::string> bare_;
};

}  // namespace wininet
