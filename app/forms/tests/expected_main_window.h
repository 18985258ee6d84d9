// What MainWindow must have for the program and its user: each unit's name, type, identifier,
// place and caption, and the three event bindings. The tests hold both the block the build
// makes and the live window to it; how the description stores the rest is its own affair.
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
  const char* caption;  // UTF-8; null for an edit box, which starts empty
};

// The window first, then its controls from top to bottom.
inline const std::vector<ExpectedUnit> kUnits = {
    {0x06010000, runtime::unit_type::Window, "", 50, 50, 380, 348, "Panlift"},
    {0x160100a8, runtime::unit_type::RadioBox, "单选框1", 16, 16, 80, 24, "迅雷快传"},
    {0x16010002, runtime::unit_type::EditBox, "迅雷下载编辑框", 104, 16, 232, 24, nullptr},
    {0x160100a9, runtime::unit_type::RadioBox, "单选框2", 17, 55, 80, 24, "百度网盘"},
    {0x160100a7, runtime::unit_type::EditBox, "百度下载编辑框", 104, 56, 232, 24, nullptr},
    {0x160100de, runtime::unit_type::RadioBox, "单选框3", 16, 96, 88, 16, "360网盘"},
    {0x160100df, runtime::unit_type::EditBox, "三六零下载编辑框", 104, 88, 232, 24, nullptr},
    {0x160100bb, runtime::unit_type::Label, "标签2", 16, 126, 72, 24, "文件名称："},
    {0x160100b8, runtime::unit_type::EditBox, "文件名称编辑框", 104, 126, 232, 24, nullptr},
    {0x160100bc, runtime::unit_type::Label, "标签3", 16, 158, 72, 24, "文件扩展名："},
    {0x160100b7, runtime::unit_type::EditBox, "文件扩展名编辑框", 104, 158, 232, 24, nullptr},
    {0x160100bd, runtime::unit_type::Label, "标签4", 21, 190, 72, 24, "文件大小："},
    {0x160100ba, runtime::unit_type::EditBox, "文件大小编辑框", 104, 190, 232, 24, nullptr},
    {0x160100be, runtime::unit_type::Label, "标签5", 16, 222, 72, 24, "文件MD5值："},
    {0x160100b9, runtime::unit_type::EditBox, "文件md5编辑框", 104, 222, 232, 24, nullptr},
    {0x160100b6, runtime::unit_type::Label, "标签1", 24, 254, 64, 24, "下载地址："},
    {0x16010070, runtime::unit_type::EditBox, "文件下载地址编辑框", 104, 254, 232, 24, nullptr},
    {0x16010003, runtime::unit_type::Button, "按钮1", 144, 286, 64, 24, "解析"},
};

// The only event bindings: creation finished, the left button pressed in the download-
// address box, and the resolve button clicked.
struct ExpectedBinding {
  std::uint32_t unit;
  runtime::EventBinding binding;
};
inline const std::vector<ExpectedBinding> kBindings = {
    {0x06010000, {0, kOnMainWindowCreated}},
    {0x16010070, {-1, kOnAddressBoxLeftDown}},
    {0x16010003, {0, kOnResolveClicked}},
};

// The bindings of one unit, in the order the table gives them.
inline std::vector<runtime::EventBinding> BindingsOf(std::uint32_t unit) {
  std::vector<runtime::EventBinding> found;
  for (const ExpectedBinding& b : kBindings) {
    if (b.unit == unit) found.push_back(b.binding);
  }
  return found;
}

}  // namespace mainwindow
