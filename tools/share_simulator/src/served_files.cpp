#include "share_simulator/served_files.h"

#include "content.h"
#include "share_simulator/addresses.h"

namespace share_simulator {

std::vector<ServedFile> ServedFiles(const Share& share, std::string_view origin) {
  std::vector<ServedFile> files;
  for (std::size_t i = 0; i < share.files.size(); ++i) {
    ServedFile file;
    file.name = share.files[i].name;
    file.size = share.files[i].size;
    file.seed = share.id + "/" + std::to_string(i + 1);
    file.md5 = ContentMd5(file.seed, file.size);
    file.downloadAddress = DownloadAddress(share, i, origin);
    file.servable = file.size <= kServableLimit;
    files.push_back(std::move(file));
  }
  return files;
}

}  // namespace share_simulator
