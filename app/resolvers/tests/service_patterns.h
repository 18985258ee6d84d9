// The patterns that the resolvers compile, as they pass them (a backslash is a backslash of
// the pattern, \x22 the pattern's escape for a double quote).
#pragma once

namespace app::testing::patterns {

// Xunlei Kuaichuan: the page's key, then name / address / size, then the extension.
inline constexpr const char* XunleiKeyPattern = R"re(key\x22 value='(.*?)('>))re";
inline constexpr const char* XunleiFilePattern =
    R"re(checked\x22   file_name=\x22(.*?)\x22 file_url=\x22(.*?)\x22 file_size=\x22(.*?)\x22 )re";
inline constexpr const char* XunleiExtensionPattern =
    R"re(checked=\x22checked\x22   file_name=\x22(.*?)\.(gho|torrent|wma|aac|mp3|wav|doc|q|txt|iso|exe|ico|gif|png|jpg|bmp|cab|7z|jar|zip|rar|avi|wmv|mkv|rmvb|rm|mp4|mpg|mpeg|flv|3gp|asf))re";

// Baidu Pan: fields of escaped JSON, one or more backslashes before each quote.
inline constexpr const char* BaiduDlinkPattern = R"re(dlink\\+\x22:\\+\x22(.*?)(\\+"+\}))re";
inline constexpr const char* BaiduFilenamePattern = R"re(filename=(.*?)(\\+\x22))re";
inline constexpr const char* BaiduSizePattern = R"re(size\\+\x22:\\+\x22(.*?)(\\+\x22))re";
inline constexpr const char* BaiduMd5Pattern = R"re(md5\\+\x22:\\+\x22(.*?)(\\+\x22))re";

}  // namespace app::testing::patterns
