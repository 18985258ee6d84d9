// Xunlei Kuaichuan: three patterns over the share page's HTML, the last match of each
// winning (on a page of several files the values need not belong to one file).
#include "app/base/runtime_calls.h"
#include "app/fetch/fetch_page.h"
#include "app/program_texts.h"
#include "app/resolvers/file_types.h"
#include "app/resolvers/resolvers.h"
#include "app/text/format_file_size.h"
#include "app/text/url_decode.h"
#include "detail_boxes.h"
#include "pattern_search.h"
#include "runtime/core/core_library.h"

namespace app {

runtime::Text ResolveXunleiLink(const runtime::Text& link) {
  namespace command = runtime::core::command;
  PatternSearch search = StartPatternSearch();
  runtime::Text page = FetchPage(link);
  runtime::Text keyValue = nullptr, fileName = nullptr, fileUrl = nullptr, extension = nullptr;
  double fileSize = 0;

  SearchPattern(search, kTexts.XunleiKeyPattern, page);
  for (std::int32_t i = 0; i < MatchCount(search); ++i) Assign(keyValue, MatchText(search, i, page, 1));

  SearchPattern(search, kTexts.XunleiFilePattern, page);
  for (std::int32_t i = 0; i < MatchCount(search); ++i) {
    runtime::Text name = MatchText(search, i, page, 1);
    Assign(fileName, UrlDecode(name));
    FreeBlock(name);
    Assign(fileUrl, MatchText(search, i, page, 2));
    runtime::Text size = MatchText(search, i, page, 3);
    fileSize = ResultDouble(CallCore(command::ToNumber, {runtime::TextArg(size)}));
    FreeBlock(size);
  }

  SearchPattern(search, kTexts.XunleiExtensionPattern, page);
  for (std::int32_t i = 0; i < MatchCount(search); ++i) Assign(extension, MatchText(search, i, page, 2));
  Assign(extension, DescribeExtension(extension));

  runtime::Text sizeText = FormatFileSize(fileSize);
  WriteDetailBoxes(fileName, extension, sizeText, keyValue);

  for (runtime::Text t : {page, keyValue, fileName, extension, sizeText}) FreeBlock(t);
  EndPatternSearch(search);
  return fileUrl;  // the caller's from here on
}

}  // namespace app
