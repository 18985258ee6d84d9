// MainWindow and its units, by the identifiers of its window template, and the two
// properties the program reads and writes.
#pragma once

#include <cstdint>

namespace app {

inline constexpr std::uint32_t MainWindow = 0x52010001;

namespace units {
inline constexpr std::uint32_t 单选框1 = 0x160100a8;
inline constexpr std::uint32_t 迅雷下载编辑框 = 0x16010002;
inline constexpr std::uint32_t 单选框2 = 0x160100a9;
inline constexpr std::uint32_t 百度下载编辑框 = 0x160100a7;
inline constexpr std::uint32_t 单选框3 = 0x160100de;
inline constexpr std::uint32_t 三六零下载编辑框 = 0x160100df;
inline constexpr std::uint32_t 文件名称编辑框 = 0x160100b8;
inline constexpr std::uint32_t 文件扩展名编辑框 = 0x160100b7;
inline constexpr std::uint32_t 文件大小编辑框 = 0x160100ba;
inline constexpr std::uint32_t 文件md5编辑框 = 0x160100b9;
inline constexpr std::uint32_t 文件下载地址编辑框 = 0x16010070;
inline constexpr std::uint32_t 按钮1 = 0x16010003;
}  // namespace units

inline constexpr std::int32_t ContentProperty = 8;   // EditBox: the content (Text)
inline constexpr std::int32_t CheckedProperty = 18;  // RadioBox: 1 checked, 0 not

}  // namespace app
