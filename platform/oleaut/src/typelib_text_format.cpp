#include "typelib_text_format.h"

namespace oleaut::detail {

namespace {

struct NamedType {
  const char* name;
  VARTYPE vt;
};

constexpr NamedType kBasicTypes[] = {
    {"i1", VT_I1},       {"i2", VT_I2},         {"i4", VT_I4},         {"i8", VT_I8},
    {"ui1", VT_UI1},     {"ui2", VT_UI2},       {"ui4", VT_UI4},       {"ui8", VT_UI8},
    {"int", VT_INT},     {"uint", VT_UINT},     {"r4", VT_R4},         {"r8", VT_R8},
    {"cy", VT_CY},       {"date", VT_DATE},     {"bstr", VT_BSTR},     {"dispatch", VT_DISPATCH},
    {"error", VT_ERROR}, {"bool", VT_BOOL},     {"variant", VT_VARIANT}, {"unknown", VT_UNKNOWN},
    {"void", VT_VOID},   {"hresult", VT_HRESULT}, {"decimal", VT_DECIMAL}, {"lpstr", VT_LPSTR},
    {"lpwstr", VT_LPWSTR}, {"empty", VT_EMPTY},  {"null", VT_NULL},
};

}  // namespace

const char* BasicTypeName(VARTYPE vt) {
  for (const NamedType& t : kBasicTypes) {
    if (t.vt == vt) return t.name;
  }
  return nullptr;
}

bool BasicTypeFromName(std::string_view name, VARTYPE* vt) {
  for (const NamedType& t : kBasicTypes) {
    if (name == t.name) {
      *vt = t.vt;
      return true;
    }
  }
  return false;
}

std::string QuoteText(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out.push_back(c);
    }
  }
  out.push_back('"');
  return out;
}

}  // namespace oleaut::detail
