// The URL helpers, UrlDecode and TextBetween over any texts: every result is a part of its
// input where it must be, and UrlDecode's comes back as GBK.
#include <cstdint>
#include <string>

#include "app/fetch/url_parts.h"
#include "app/testing/program_test.h"
#include "app/text/text_between.h"
#include "app/text/url_decode.h"
#include "codepage/gbk_walk.h"
#include "fuzz_input.h"
#include "program_runtime.h"
#include "win/ascii_case.h"

namespace {

using app::testing::TakeText;

// ASCII letters folded, double-byte characters kept, as ToLower walks: any byte from 0x80
// takes the next along, so a trail byte that looks like a letter stays.
std::string Lower(std::string text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t width = codepage::GbkCharWidth(text, i, codepage::GbkLeads::HighBit);
    if (width == 1) text[i] = ascii::Lower(text[i]);
    i += width ? width : 1;
  }
  return text;
}

bool IsLowerCase(const std::string& text) { return Lower(text) == text; }

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
