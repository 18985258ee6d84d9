// The URL helpers, UrlDecode and TextBetween over any texts: every result is a part of its
// input where it must be, and UrlDecode's comes back as GBK.
#include <cstdint>
#include <string>

#include "app/fetch/url_parts.h"
#include "app/text/text_between.h"
#include "app/text/url_decode.h"
#include "fuzz_input.h"
#include "program_runtime.h"
#include "program_test.h"

namespace {

using app::testing::TakeText;

bool IsLowerCase(const std::string& text) {
  // Only ASCII letters fold, but the second byte of a GBK character may be one.
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80 && i + 1 < text.size()) {
      ++i;
      continue;
    }
    if (c >= 'A' && c <= 'Z') return false;
  }
  return true;
}

// ASCII letters folded, double-byte characters kept, as ToLower walks.
std::string Lower(std::string text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      ++i;
    } else if (c >= 'A' && c <= 'Z') {
      text[i] = static_cast<char>(c + 32);
    }
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartProgramRuntime({});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in(data, size);
  const std::vector<std::string> pieces = in.Pieces(3);
  const std::string url = fuzz::AsText(pieces[0]), left = fuzz::AsText(pieces[1]), right = fuzz::AsText(pieces[2]);

  const std::string host = TakeText(app::UrlHost(url.c_str(), false));
  const std::string hostAndPort = TakeText(app::UrlHost(url.c_str(), true));
  FUZZ_CHECK(IsLowerCase(host) && hostAndPort.compare(0, host.size(), host) == 0);
  FUZZ_CHECK(Lower(url).find(hostAndPort) != std::string::npos);
  const std::string path = TakeText(app::UrlPath(url.c_str()));
  FUZZ_CHECK(path == "/" || (path[0] == '/' && url.size() >= path.size() &&
                             url.compare(url.size() - path.size(), path.size(), path) == 0));
  app::UrlPort(url.c_str());

  const std::string decoded = TakeText(app::UrlDecode(url.c_str()));
  FUZZ_CHECK(fuzz::IsValidGbk(decoded));

  const std::string between = TakeText(app::TextBetween(url.c_str(), left.c_str(), right.c_str()));
  FUZZ_CHECK(url.find(between) != std::string::npos);
  return 0;
}
