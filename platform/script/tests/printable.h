// UTF-16 texts in test messages: ASCII as it is, everything else as \uXXXX.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

inline std::string Printable(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    }
  }
  return out;
}

#include <ostream>

#include "script/engine.h"

namespace script {
inline void PrintTo(Status status, std::ostream* os) {
  static const char* const kNames[] = {"Ok",          "NotInitialized",  "SyntaxError",
                                       "ScriptError", "Timeout",         "OutOfMemory",
                                       "UnknownName", "InvalidArgument", "EngineFailure"};
  *os << kNames[static_cast<int>(status)];
}
}  // namespace script
