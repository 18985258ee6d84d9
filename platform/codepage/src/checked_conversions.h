// The conversions behind the public functions, telling whether the input was clean: false
// when some bad spot was replaced (the Windows calls' "invalid characters" flags need that).
#pragma once

#include <string>
#include <string_view>

namespace codepage {

// Every byte belonged to an assigned character.
bool DecodeGbk(std::string_view gbk, std::u16string& out);
// Every character had a GBK form; the others became `defaultChar`.
bool EncodeGbk(std::u16string_view text, std::string_view defaultChar, std::string& out);

// No invalid sequence (each became U+FFFD).
bool DecodeUtf8(std::string_view utf8, std::u16string& out);
// No unpaired surrogate (each became U+FFFD).
bool EncodeUtf8(std::u16string_view text, std::string& out);

}  // namespace codepage
