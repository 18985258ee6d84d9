// Case of ASCII letters, independent of the C library's locale.
#pragma once

namespace runtime::core::ascii {

inline char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
inline char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace runtime::core::ascii
