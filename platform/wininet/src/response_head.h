// The status line and headers of the final response, as HttpQueryInfoA reports them.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "win/types.h"

namespace wininet {

class ResponseHead {
 public:
  // A status line ("HTTP/1.1 200 OK") starts a new head: an interim or redirected response
  // is forgotten.
  void StartWith(std::string_view statusLine);
  // A header line as received (line end included or not); folded lines continue the last.
  void AddLine(std::string_view line);
  // A response without a status line counts as "HTTP/1.0 200 OK".
  void StartWithoutStatusLine() { StartWith("HTTP/1.0 200 OK"); }

  bool Started() const { return !statusLine_.empty(); }
  int Status() const { return status_; }
  std::string StatusText() const;
  // Status line, every header as "Name: value", each ending in CR LF, then a blank line.
  std::string RawCrlf() const;
  // The same lines, each ending in a NUL (the query's terminator adds the final one).
  std::string RawNul() const;
  // The value of the index-th header of that name, or null.
  const std::string* Find(std::string_view name, DWORD index = 0) const;

 private:
  std::string statusLine_;
  int status_ = 0;
  std::vector<std::pair<std::string, std::string>> headers_;
};

}  // namespace wininet
