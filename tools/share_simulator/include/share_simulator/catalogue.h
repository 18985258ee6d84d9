// The catalogue: the sample shares the simulator serves, read from a JSON file.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/services/services.h"

namespace share_simulator {

using services::Service;
using services::ServiceFromName;
using services::ServiceName;

struct SharedFile {
  std::string name;  // UTF-8
  std::uint64_t size = 0;
};

// What a share's server does wrong instead of serving its page normally (the catalogue's
// "fault"), for the hardening tests: the transport ones on the page's connection, the
// content ones in the page or the 360 Pan endpoint's answer.
enum class Fault {
  None,
  EndlessBody,     // a chunked body that never ends
  Silent,          // accepts and says nothing ("fault_seconds", then the connection closes)
  ResetMidBody,    // the first half of the page, then a TCP reset
  RedirectLoop,    // 302 to the page itself, for ever
  HugeHeaders,     // the page behind a 100 KiB response header block
  BrokenChunks,    // chunked, with a chunk size that is not a number
  Garbage,         // binary bytes instead of an HTTP response
  RegexWorstCase,  // the page, then 16 MiB made to keep the patterns searching
  ScriptForever,   // (360) a configuration whose object literal never finishes running
  HugeArray,       // (360) a configuration that builds a huge array
  HugeAnswer,      // (360) the endpoint's answer padded to 64 MiB
};

std::string_view FaultName(Fault fault);
std::optional<Fault> FaultFromName(std::string_view name);

struct Share {
  Service service = Service::Xunlei;
  std::string id;
  // In page order. The last one is the share's own "name" and "size"; the ones before it are
  // its "earlier_files". Resolvers keep the last match, so the last file is what they show.
  std::vector<SharedFile> files;
  bool hasFields = true;  // false: the page carries none of the fields the resolvers read
  std::string errmsg;     // 360 Pan: what the download endpoint answers (UTF-8)
  Fault fault = Fault::None;
  int faultSeconds = 0;   // Silent: how long (0: until the simulator stops)
  std::uint64_t faultBytes = 16u << 20;  // RegexWorstCase: the filler's size
};

struct Catalogue {
  std::string path;
  std::vector<Share> shares;
};

// The endpoint's "errmsg" of a successful 360 Pan download request.
inline constexpr std::string_view kSuccessMessage = "操作成功";

// A fault of the catalogue; what() is one line: "<file>: <fault>".
class CatalogueError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

Catalogue LoadCatalogue(const std::string& path);
Catalogue ParseCatalogue(std::string_view json, const std::string& path);

const Share* FindShare(const Catalogue& catalogue, std::string_view id);
const Share* FindShare(const Catalogue& catalogue, Service service, std::string_view id);

}  // namespace share_simulator
