// The catalogue: the sample shares the simulator serves, read from a JSON file.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace share_simulator {

enum class Service { Xunlei, Baidu, Yunpan360 };

struct SharedFile {
  std::string name;  // UTF-8
  std::uint64_t size = 0;
};

struct Share {
  Service service = Service::Xunlei;
  std::string id;
  // In page order. The last one is the share's own "name" and "size"; the ones before it are
  // its "earlier_files". Resolvers keep the last match, so the last file is what they show.
  std::vector<SharedFile> files;
  bool hasFields = true;  // false: the page carries none of the fields the resolvers read
  std::string errmsg;     // 360 Pan: what the download endpoint answers (UTF-8)
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

std::string_view ServiceName(Service service);  // "xunlei", "baidu", "360"
std::optional<Service> ServiceFromName(std::string_view name);

const Share* FindShare(const Catalogue& catalogue, std::string_view id);
const Share* FindShare(const Catalogue& catalogue, Service service, std::string_view id);

}  // namespace share_simulator
