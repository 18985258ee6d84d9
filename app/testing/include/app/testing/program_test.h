// What the program's tests share: the runtime started from the program's own block (its
// texts, libraries, DLL commands and MainWindow's template) with procedures of the test's
// own, and the conversions between the program's GBK texts and the tests' UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/values.h"

namespace app::testing {

// MainWindow live, as the program's start leaves it (no handler of the program runs; each
// call loads it afresh after closing the one before).
void LoadMainWindow();
void CloseMainWindow();

std::string Gbk(std::string_view utf8);
std::string Utf8(std::string_view gbk);

// A Text or ByteSet the procedure under test returned: its bytes, and the block freed.
std::string TakeText(runtime::Text text);
std::string TakeByteSet(void* byteSet);
// A new runtime Text holding bytes (null for none), for arguments that must be blocks.
runtime::Text NewText(std::string_view bytes);
void* NewByteSet(std::string_view bytes);

// A box's content through the runtime's property read (GBK), and a write of one.
std::string BoxText(std::uint32_t unitId);
void SetBoxText(std::uint32_t unitId, std::string_view gbk);

}  // namespace app::testing
