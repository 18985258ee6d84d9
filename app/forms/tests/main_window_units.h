// What MainWindow holds, unit by unit, as the program expects it: the table its tests
// check the block and the live window against.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/windows/template_format.h"
#include "runtime/windows/unit_types.h"

namespace mainwindow {

inline constexpr std::int32_t kProcedure = static_cast<std::int32_t>(sizeof(void (*)()));
// Handler offsets: OnResolveClicked is the program's first procedure.
inline constexpr std::int32_t kOnResolveClicked = 0, kOnAddressBoxLeftDown = 1 * kProcedure,
                              kOnMainWindowCreated = 2 * kProcedure;

struct ExpectedUnit {
  std::uint32_t id;
  std::uint32_t type;
  const char* name;  // UTF-8
  int left, top, width, height;
  std::uint32_t flags;
  const char* caption;  // UTF-8; null: none (an edit box)
  bool emptyData;
  std::vector<runtime::EventBinding> events;
};

inline const std::vector<ExpectedUnit> kUnits = {
    {0x06010000, runtime::unit_type::Window, "", 50, 50, 380, 348, 1, "Panlift", false, {{0, kOnMainWindowCreated}}},
    {0x160100a8, runtime::unit_type::RadioBox, "单选框1", 16, 16, 80, 24, 5, "迅雷快传", false, {}},
    {0x16010002, runtime::unit_type::EditBox, "迅雷下载编辑框", 104, 16, 232, 24, 5, nullptr, false, {}},
    {0x160100a9, runtime::unit_type::RadioBox, "单选框2", 17, 55, 80, 24, 5, "百度网盘", false, {}},
    {0x160100a7, runtime::unit_type::EditBox, "百度下载编辑框", 104, 56, 232, 24, 5, nullptr, false, {}},
    {0x160100de, runtime::unit_type::RadioBox, "单选框3", 16, 96, 88, 16, 5, "360网盘", false, {}},
    {0x160100df, runtime::unit_type::EditBox, "三六零下载编辑框", 104, 88, 232, 24, 5, nullptr, false, {}},
    {0x160100bb, runtime::unit_type::Label, "标签2", 16, 126, 72, 24, 1, "文件名称：", false, {}},
    {0x160100b8, runtime::unit_type::EditBox, "文件名称编辑框", 104, 126, 232, 24, 5, nullptr, true, {}},
    {0x160100bc, runtime::unit_type::Label, "标签3", 16, 158, 72, 24, 1, "文件扩展名：", false, {}},
    {0x160100b7, runtime::unit_type::EditBox, "文件扩展名编辑框", 104, 158, 232, 24, 5, nullptr, true, {}},
    {0x160100bd, runtime::unit_type::Label, "标签4", 21, 190, 72, 24, 1, "文件大小：", false, {}},
    {0x160100ba, runtime::unit_type::EditBox, "文件大小编辑框", 104, 190, 232, 24, 5, nullptr, true, {}},
    {0x160100be, runtime::unit_type::Label, "标签5", 16, 222, 72, 24, 1, "文件MD5值：", false, {}},
    {0x160100b9, runtime::unit_type::EditBox, "文件md5编辑框", 104, 222, 232, 24, 5, nullptr, true, {}},
    {0x160100b6, runtime::unit_type::Label, "标签1", 24, 254, 64, 24, 1, "下载地址：", false, {}},
    {0x16010070, runtime::unit_type::EditBox, "文件下载地址编辑框", 104, 254, 232, 24, 5, nullptr, false,
     {{-1, kOnAddressBoxLeftDown}}},
    {0x16010003, runtime::unit_type::Button, "按钮1", 144, 286, 64, 24, 5, "解析", false, {{0, kOnResolveClicked}}},
};

}  // namespace mainwindow
