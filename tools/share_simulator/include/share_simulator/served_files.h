// What the simulator serves for each file of a share, once it knows its own address.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "share_simulator/catalogue.h"

namespace share_simulator {

struct ServedFile {
  std::string name;  // UTF-8
  std::uint64_t size = 0;
  std::string seed;  // of the contents: "<id>/<position>"
  std::string md5;   // what the page reports (Xunlei's key, Baidu's md5, 360's fhash)
  std::string downloadAddress;
  bool servable = false;  // size within kServableLimit
};

// The share's files in page order; origin is "http://127.0.0.1:<port>". Hashing streams every
// servable file's contents once.
std::vector<ServedFile> ServedFiles(const Share& share, std::string_view origin);

}  // namespace share_simulator
