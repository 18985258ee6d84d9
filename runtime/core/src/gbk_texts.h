// The core library's fixed texts, as GBK bytes (every text of the system is code page
// 936). Each is followed by the characters it holds.
#pragma once

namespace runtime::core::gbk_texts {

inline constexpr char kTrue[] = "\xD5\xE6";    // 真
inline constexpr char kFalse[] = "\xBC\xD9";   // 假
inline constexpr char kYear[] = "\xC4\xEA";    // 年
inline constexpr char kMonth[] = "\xD4\xC2";   // 月
inline constexpr char kDay[] = "\xC8\xD5";     // 日
inline constexpr char kHour[] = "\xCA\xB1";    // 时
inline constexpr char kMinute[] = "\xB7\xD6";  // 分
inline constexpr char kSecond[] = "\xC3\xEB";  // 秒

inline constexpr char kLibraryName[] = "\xBA\xCB\xD0\xC4\xBF\xE2";  // 核心库
inline constexpr char kComObjectTypeName[] = "\xB6\xD4\xCF\xF3";          // 对象
inline constexpr char kVariantTypeName[] = "\xB1\xE4\xCC\xE5\xD0\xCD";  // 变体型

}  // namespace runtime::core::gbk_texts
