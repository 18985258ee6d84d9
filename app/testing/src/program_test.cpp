#include "app/testing/program_test.h"

#include "app/base/main_window_units.h"
#include "app/base/runtime_calls.h"
#include "codepage/codepage.h"
#include "runtime/frame.h"
#include "runtime/windows/window_layer.h"

namespace app::testing {

void LoadMainWindow() {
  CloseMainWindow();
  Runtime().LoadStartupWindow(MainWindow);
}

void CloseMainWindow() { runtime::DestroyAllWindows(); }

std::string Gbk(std::string_view utf8) { return codepage::Utf8ToGbk(utf8); }
std::string Utf8(std::string_view gbk) { return codepage::GbkToUtf8(gbk); }

std::string TakeText(runtime::Text text) {
  std::string bytes = text ? std::string(text) : std::string();
  FreeBlock(text);
  return bytes;
}

std::string TakeByteSet(void* byteSet) {
  std::string bytes(reinterpret_cast<const char*>(runtime::ByteSetBytes(byteSet ? byteSet : (void*)runtime::EmptyByteSet)),
                    static_cast<std::size_t>(runtime::ByteSetLength(byteSet)));
  FreeBlock(byteSet);
  return bytes;
}

runtime::Text NewText(std::string_view bytes) { return runtime::NewText(bytes.data(), bytes.size()); }
void* NewByteSet(std::string_view bytes) { return runtime::NewByteSet(bytes.data(), bytes.size()); }

std::string BoxText(std::uint32_t unitId) { return TakeText(ReadTextProperty(MainWindow, unitId, ContentProperty)); }

void SetBoxText(std::uint32_t unitId, std::string_view gbk) {
  std::string text(gbk);
  WriteTextProperty(MainWindow, unitId, ContentProperty, text.c_str());
}

}  // namespace app::testing
