// What the headless message box of a fatal runtime error writes to standard error: the
// caption, a line break, the message text, a line break (all UTF-8 here).
#pragma once

#include <string>

inline std::string ErrorBox(const std::string& text) { return "错误\n" + text + "\n"; }

inline std::string NumberedErrorBox(int number, const std::string& message) {
  return ErrorBox("运行时出错!\r\n\r\n错误代码：" + std::to_string(number) + "\r\n\r\n错误信息：" + message + "\r\n");
}

inline std::string MessageErrorBox(const std::string& message) {
  return ErrorBox("运行时出错!\r\n\r\n错误信息：" + message + "\r\n");
}
