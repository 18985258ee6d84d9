// Share pages of the three services as the resolvers read them, filled out to a given size
// with ordinary page text before the fields (GBK), for the end-to-end benchmarks.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

enum class Service { Xunlei, Baidu, Pan360 };
const char* ServiceName(Service service);  // "xunlei", "baidu", "360"

// A page of `bytes` bytes (at least the fields' own size) whose one file's fields come last.
std::string SharePage(Service service, std::size_t bytes);
// A Xunlei Kuaichuan page listing `files` files, one after another; the last is the one the
// resolver shows. SharePage(Xunlei, XunleiListPage(n).size()) is a page of the same size
// listing one.
std::string XunleiListPage(int files);
// The 360 Pan endpoint's success answer.
std::string Pan360Answer();

// What the resolver shows for each page above: the download address.
std::string ExpectedAddress(Service service);
std::string ExpectedListAddress(int files);

}  // namespace bench
