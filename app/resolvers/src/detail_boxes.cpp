#include "detail_boxes.h"

#include "app/base/main_window_units.h"
#include "app/base/runtime_calls.h"

namespace app {

void WriteDetailBoxes(const char* fileName, const char* extension, const char* size, const char* hash) {
  WriteTextProperty(MainWindow, units::文件名称编辑框, ContentProperty, fileName);
  WriteTextProperty(MainWindow, units::文件扩展名编辑框, ContentProperty, extension);
  WriteTextProperty(MainWindow, units::文件大小编辑框, ContentProperty, size);
  WriteTextProperty(MainWindow, units::文件md5编辑框, ContentProperty, hash);
}

}  // namespace app
