// 360 Pan: the share page's configuration object read as JSON, then the download endpoint
// asked by POST; only its success answer fills the detail boxes.
#include <cmath>
#include <cstdint>

#include "app/base/runtime_calls.h"
#include "app/fetch/fetch_page.h"
#include "app/json/json_get.h"
#include "app/program_texts.h"
#include "app/resolvers/file_types.h"
#include "app/resolvers/resolvers.h"
#include "detail_boxes.h"
#include "app/text/text_between.h"
#include "app/text/text_primitives.h"
#include "app/text/url_decode.h"
#include "runtime/core/core_library.h"

namespace app {
namespace {

namespace command = runtime::core::command;

// Whole megabytes of a size text, truncated toward zero. The size is read as a double, not
// a 32-bit integer: shares of 2 GiB and more are common and must not wrap.
runtime::Text SizeInMegabytes(const char* sizeText) {
  const double bytes = ResultDouble(CallCore(command::ToNumber, {runtime::TextArg(sizeText)}));
  const double megabytes = std::trunc(bytes / 1048576.0);
  const bool fits = megabytes > -9.2e18 && megabytes < 9.2e18;  // NaN too: no number
  const std::int64_t whole = fits ? static_cast<std::int64_t>(megabytes) : 0;
  runtime::Text number = ResultText(CallCore(command::ToText, {runtime::LongArg(whole)}));
  runtime::Text text = ConcatTexts({number, kTexts.Pan360SizeUnit});
  FreeBlock(number);
  return text;
}

}  // namespace

runtime::Text Resolve360Link(const runtime::Text& link) {
  runtime::Text page = FetchPage(link);
  runtime::Text config = TextBetween(page, kTexts.Pan360ConfigStart, kTexts.Pan360ConfigEnd);
  runtime::Text surl = JsonGet(config, kTexts.Pan360SurlPath);
  runtime::Text nid = JsonGet(config, kTexts.Pan360NidPath);
  runtime::Text name = JsonGet(config, kTexts.Pan360NamePath);
  runtime::Text fileName = UrlDecode(name);
  runtime::Text size = JsonGet(config, kTexts.Pan360SizePath);
  runtime::Text sizeText = SizeInMegabytes(size);
  runtime::Text fileHash = JsonGet(config, kTexts.Pan360HashPath);
  runtime::Text tail = ResultText(CallCore(command::TextRight, {runtime::TextArg(fileName), runtime::IntArg(3)}));
  runtime::Text extension = DescribeExtension(tail);

  runtime::Text body = ConcatTexts({kTexts.Pan360BodyShorturl, surl, kTexts.Pan360BodyNid, nid});
  runtime::Text answer = FetchPage(kTexts.Pan360Endpoint, kTexts.Pan360PostMethod, nullptr, nullptr, body, nullptr);

  runtime::Text errmsg = JsonGet(answer, kTexts.Pan360ErrmsgPath);
  if (CompareText(errmsg, kTexts.Pan360FileGone) == 0) Assign(answer, nullptr);
  // Read afresh: an emptied answer gives the reader's error text, never the success text.
  Assign(errmsg, JsonGet(answer, kTexts.Pan360ErrmsgPath));
  if (CompareText(errmsg, kTexts.Pan360Success) == 0) {
    Assign(answer, JsonGet(answer, kTexts.Pan360AddressPath));
    WriteDetailBoxes(fileName, extension, sizeText, fileHash);
  }

  for (runtime::Text t : {page, config, surl, nid, name, fileName, size, sizeText, fileHash, tail, extension, body,
                          errmsg}) {
    FreeBlock(t);
  }
  return answer;  // the caller's from here on
}

}  // namespace app
