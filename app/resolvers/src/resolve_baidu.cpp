// Baidu Pan: four patterns over the escaped JSON fields of the share page, fetched with the
// Internet library; the address's escaped slashes undone.
#include "app/base/libraries.h"
#include "app/base/runtime_calls.h"
#include "app/program_texts.h"
#include "app/resolvers/file_types.h"
#include "app/resolvers/resolvers.h"
#include "app/text/format_file_size.h"
#include "app/text/url_decode.h"
#include "inet/internet_library.h"
#include "detail_boxes.h"
#include "pattern_search.h"
#include "runtime/core/core_library.h"

namespace app {
namespace {

namespace command = runtime::core::command;

// Position (from 1) of the first `needle` in `text`, -1 when there is none.
std::int32_t FindFirst(const char* text, const char* needle) {
  return ResultInt(CallCore(command::FindText, {runtime::TextArg(text), runtime::TextArg(needle),
                                                runtime::OmittedArg, runtime::BoolArg(false)}));
}

void ReplaceAt(runtime::Text& text, std::int32_t position, const char* found, const char* replacement) {
  const std::int32_t length = ResultInt(CallCore(command::GetTextLength, {runtime::TextArg(found)}));
  Assign(text, ResultText(CallCore(command::ReplaceTextRange, {runtime::TextArg(text), runtime::IntArg(position),
                                                               runtime::IntArg(length),
                                                               runtime::TextArg(replacement)})));
}

// The first "\\/\\/" becomes "//", then every "\\/" a "/".
void UnescapeSlashes(runtime::Text& url) {
  const std::int32_t pair = FindFirst(url, kTexts.BaiduEscapedDoubleSlash);
  if (pair != -1) ReplaceAt(url, pair, kTexts.BaiduEscapedDoubleSlash, kTexts.BaiduDoubleSlash);
  for (std::int32_t at = FindFirst(url, kTexts.BaiduEscapedSlash); at != -1;
       at = FindFirst(url, kTexts.BaiduEscapedSlash)) {
    ReplaceAt(url, at, kTexts.BaiduEscapedSlash, kTexts.BaiduSlash);
  }
}

runtime::Text ReadPage(const char* link) {
  void* body = ResultBlock(CallLibrary(kInternetLibrary, static_cast<std::int32_t>(inet::CommandIndex::HttpReadFile),
                                       {runtime::TextArg(link)}));
  runtime::Text page = ResultText(CallCore(command::ToText, {runtime::ByteSetArg(body)}));
  FreeBlock(body);
  return page;
}

}  // namespace

runtime::Text ResolveBaiduLink(const runtime::Text& link) {
  PatternSearch search = StartPatternSearch();
  runtime::Text page = ReadPage(link);
  runtime::Text downloadUrl = nullptr, fileName = nullptr, extension = nullptr, md5 = nullptr;
  double fileSize = 0;

  SearchPattern(search, kTexts.BaiduDlinkPattern, page);
  for (std::int32_t i = 0; i < MatchCount(search); ++i) Assign(downloadUrl, MatchText(search, i, page, 1));
  UnescapeSlashes(downloadUrl);

  SearchPattern(search, kTexts.BaiduFilenamePattern, page);
  for (std::int32_t i = 0; i < MatchCount(search); ++i) {
    runtime::Text name = MatchText(search, i, page, 1);
    Assign(fileName, UrlDecode(name));
    FreeBlock(name);
    Assign(extension, ResultText(CallCore(command::TextRight, {runtime::TextArg(fileName), runtime::IntArg(3)})));
  }

  SearchPattern(search, kTexts.BaiduSizePattern, page);
  for (std::int32_t i = 0; i < MatchCount(search); ++i) {
    runtime::Text size = MatchText(search, i, page, 1);
    // Single precision, as the page's sizes have always been read.
    fileSize = runtime::ArgFloat(CallCore(command::ToFloat, {runtime::TextArg(size)}));
    FreeBlock(size);
  }

  SearchPattern(search, kTexts.BaiduMd5Pattern, page);
  for (std::int32_t i = 0; i < MatchCount(search); ++i) Assign(md5, MatchText(search, i, page, 1));

  Assign(extension, DescribeExtension(extension));
  runtime::Text sizeText = FormatFileSize(fileSize);
  WriteDetailBoxes(fileName, extension, sizeText, md5);

  for (runtime::Text t : {page, fileName, extension, md5, sizeText}) FreeBlock(t);
  EndPatternSearch(search);
  return downloadUrl;  // the caller's from here on
}

}  // namespace app
