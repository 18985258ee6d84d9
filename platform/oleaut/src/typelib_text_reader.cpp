// Reading the type-library text format (oleaut/typelib_text.h) into a library.
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "name_compare.h"
#include "oleaut/ole32.h"
#include "oleaut/typelib_text.h"
#include "type_model.h"
#include "typelib_text_format.h"

namespace oleaut {

namespace {

struct ParseError {
  std::string message;
};

[[noreturn]] void Fail(const std::string& message) { throw ParseError{message}; }

struct Token {
  std::string text;
  bool quoted = false;
};

// Words and quoted strings; "#" outside a string starts a comment.
std::vector<Token> Tokenize(std::string_view line) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      Token token{"", true};
      for (++i;; ++i) {
        if (i >= line.size()) Fail("a string without its closing quote");
        if (line[i] == '"') break;
        if (line[i] != '\\') {
          token.text.push_back(line[i]);
          continue;
        }
        if (++i >= line.size()) Fail("a string without its closing quote");
        switch (line[i]) {
          case 'n': token.text.push_back('\n'); break;
          case 'r': token.text.push_back('\r'); break;
          case 't': token.text.push_back('\t'); break;
          case '"': case '\\': token.text.push_back(line[i]); break;
          default: Fail("an unknown escape in a string");
        }
      }
      ++i;
      tokens.push_back(token);
    } else {
      Token token;
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' &&
             line[i] != '#' && line[i] != '"') {
        token.text.push_back(line[i++]);
      }
      tokens.push_back(token);
    }
  }
  return tokens;
}

GUID ParseGuid(const std::string& text) {
  const std::u16string wide = detail::FromUtf8(text);
  GUID guid;
  if (text.empty() || text[0] != '{' || FAILED(CLSIDFromString(wide.c_str(), &guid))) {
    Fail("\"" + text + "\" is no GUID");
  }
  return guid;
}

long ParseInteger(const std::string& text) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != 0) Fail("\"" + text + "\" is no number");
  return value;
}

std::vector<std::string> SplitTopLevel(std::string_view text) {
  std::vector<std::string> parts(1);
  int depth = 0;
  for (char c : text) {
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c == ',' && depth == 0) {
      parts.emplace_back();
    } else {
      parts.back().push_back(c);
    }
  }
  return parts;
}

TypeSpec ParseType(std::string_view text) {
  if (text.empty()) Fail("a missing type");
  const auto open = text.find('(');
  if (open == std::string_view::npos) {
    VARTYPE vt;
    if (detail::BasicTypeFromName(text, &vt)) return TypeSpec(vt);
    return TypeSpec::Named(detail::FromUtf8(text));
  }
  if (text.back() != ')') Fail("a broken type \"" + std::string(text) + "\"");
  const std::string_view head = text.substr(0, open);
  const std::string_view inside = text.substr(open + 1, text.size() - open - 2);
  if (head == "ptr") return TypeSpec::Ptr(ParseType(inside));
  if (head == "safearray") return TypeSpec::SafeArray(ParseType(inside));
  if (head == "carray") {
    const std::vector<std::string> parts = SplitTopLevel(inside);
    if (parts.size() < 3 || parts.size() % 2 == 0) {
      Fail("a fixed array needs a count and a lower bound for each dimension");
    }
    std::vector<SAFEARRAYBOUND> bounds;
    for (std::size_t i = 1; i + 1 < parts.size(); i += 2) {
      const long count = ParseInteger(parts[i]);
      if (count < 0) Fail("a negative array size");
      bounds.push_back(
          SAFEARRAYBOUND{static_cast<ULONG>(count), static_cast<LONG>(ParseInteger(parts[i + 1]))});
    }
    return TypeSpec::CArray(ParseType(parts[0]), bounds);
  }
  Fail("an unknown type \"" + std::string(text) + "\"");
}

class Reader {
 public:
  ComPtr<ITypeLib> Read(std::string_view text) {
    std::size_t lineNumber = 0;
    bool headerSeen = false;
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      const std::string_view line = text.substr(start, end - start);
      start = end + 1;
      ++lineNumber;
      try {
        std::vector<Token> tokens = Tokenize(line);
        if (tokens.empty()) continue;
        if (!headerSeen) {
          if (tokens[0].text != "typelib" || tokens[0].quoted) Fail("not a type library");
          Header(tokens);
          headerSeen = true;
        } else {
          Declaration(tokens);
        }
      } catch (const ParseError& e) {
        Fail("line " + std::to_string(lineNumber) + ": " + e.message);
      }
    }
    if (!headerSeen) Fail("not a type library");
    try {
      return detail::BuildLibrary(lib_);
    } catch (const std::invalid_argument& e) {
      Fail(e.what());
    }
  }

 private:
  static void Expect(const std::vector<Token>& tokens, std::size_t minimum) {
    if (tokens.size() < minimum) Fail("\"" + tokens[0].text + "\" lacks its arguments");
  }

  void Header(const std::vector<Token>& t) {
    Expect(t, 4);
    lib_.name = detail::FromUtf8(t[1].text);
    docTarget_ = &lib_.doc;
    lib_.libid = ParseGuid(t[2].text);
    const auto dot = t[3].text.find('.');
    if (dot == std::string::npos) Fail("a version needs major.minor");
    lib_.major = static_cast<WORD>(ParseInteger(t[3].text.substr(0, dot)));
    lib_.minor = static_cast<WORD>(ParseInteger(t[3].text.substr(dot + 1)));
    for (std::size_t i = 4; i < t.size(); ++i) {
      if (t[i].text == "lcid" && i + 1 < t.size()) {
        lib_.lcid = static_cast<LCID>(std::strtoul(t[++i].text.c_str(), nullptr, 16));
      } else {
        Fail("unexpected \"" + t[i].text + "\"");
      }
    }
  }

  detail::TypeDeclSpec& NewType(TYPEKIND kind, const std::vector<Token>& t, bool needsGuid) {
    Expect(t, needsGuid ? 3 : 2);
    detail::TypeDeclSpec& type = lib_.types.emplace_back();
    type.kind = kind;
    type.name = detail::FromUtf8(t[1].text);
    if (t.size() > 2 && !t[2].text.empty() && t[2].text[0] == '{') type.guid = ParseGuid(t[2].text);
    type_ = &type;
    func_ = nullptr;
    docTarget_ = &type.doc;
    return type;
  }

  detail::TypeDeclSpec& Current(TYPEKIND kind, const char* what) {
    if (!type_ || type_->kind != kind) Fail(std::string("\"") + what + "\" outside its type");
    return *type_;
  }

  void Declaration(const std::vector<Token>& t) {
    const std::string& word = t[0].text;
    if (word == "enum") {
      NewType(TKIND_ENUM, t, false);
    } else if (word == "alias") {
      Expect(t, 3);
      detail::TypeDeclSpec& type = NewType(TKIND_ALIAS, t, false);
      type.aliased = ParseType(t[2].text);
    } else if (word == "record") {
      NewType(TKIND_RECORD, t, false);
    } else if (word == "dispinterface") {
      detail::TypeDeclSpec& type = NewType(TKIND_DISPATCH, t, true);
      type.typeFlags = TYPEFLAG_FDISPATCHABLE;
      for (std::size_t i = 3; i < t.size(); ++i) {
        if (t[i].text == "hidden") type.typeFlags |= TYPEFLAG_FHIDDEN;
        else if (t[i].text == "dual") type.typeFlags |= TYPEFLAG_FDUAL;
        else Fail("unexpected \"" + t[i].text + "\"");
      }
    } else if (word == "coclass") {
      NewType(TKIND_COCLASS, t, true).typeFlags = TYPEFLAG_FCANCREATE;
    } else if (word == "const") {
      Expect(t, 3);
      detail::VarSpec& var = Current(TKIND_ENUM, "const").vars.emplace_back();
      var.name = detail::FromUtf8(t[1].text);
      var.kind = VAR_CONST;
      var.type = VT_I4;
      var.value = OwnedVariant::I4(static_cast<LONG>(ParseInteger(t[2].text)));
      docTarget_ = &var.doc;
    } else if (word == "field") {
      Expect(t, 3);
      detail::VarSpec& var = Current(TKIND_RECORD, "field").vars.emplace_back();
      var.name = detail::FromUtf8(t[1].text);
      var.kind = VAR_PERINSTANCE;
      var.type = ParseType(t[2].text);
    } else if (word == "method" || word == "get" || word == "put" || word == "putref") {
      Function(t);
    } else if (word == "param") {
      Param(t);
    } else if (word == "var") {
      Expect(t, 4);
      detail::VarSpec& var = Current(TKIND_DISPATCH, "var").vars.emplace_back();
      var.id = static_cast<DISPID>(ParseInteger(t[1].text));
      var.name = detail::FromUtf8(t[2].text);
      var.type = ParseType(t[3].text);
      for (std::size_t i = 4; i < t.size(); ++i) {
        if (t[i].text == "readonly") var.flags |= VARFLAG_FREADONLY;
        else if (t[i].text == "hidden") var.flags |= VARFLAG_FHIDDEN;
        else Fail("unexpected \"" + t[i].text + "\"");
      }
      func_ = nullptr;
      docTarget_ = &var.doc;
    } else if (word == "implements") {
      Expect(t, 2);
      detail::ImplSpec impl{detail::FromUtf8(t[1].text), 0};
      for (std::size_t i = 2; i < t.size(); ++i) {
        if (t[i].text == "default") impl.flags |= IMPLTYPEFLAG_FDEFAULT;
        else if (t[i].text == "source") impl.flags |= IMPLTYPEFLAG_FSOURCE;
        else Fail("unexpected \"" + t[i].text + "\"");
      }
      Current(TKIND_COCLASS, "implements").implemented.push_back(impl);
    } else if (word == "doc") {
      if (t.size() != 2 || !t[1].quoted) Fail("\"doc\" takes one quoted text");
      if (!docTarget_) Fail("\"doc\" before anything to document");
      *docTarget_ = detail::FromUtf8(t[1].text);
    } else {
      Fail("unknown declaration \"" + word + "\"");
    }
  }

  void Function(const std::vector<Token>& t) {
    Expect(t, 3);
    const std::string& word = t[0].text;
    detail::FuncSpec& func = Current(TKIND_DISPATCH, word.c_str()).funcs.emplace_back();
    func.kind = word == "method" ? INVOKE_FUNC
                : word == "get"  ? INVOKE_PROPERTYGET
                : word == "put"  ? INVOKE_PROPERTYPUT
                                 : INVOKE_PROPERTYPUTREF;
    func.id = static_cast<DISPID>(ParseInteger(t[1].text));
    func.name = detail::FromUtf8(t[2].text);
    for (std::size_t i = 3; i < t.size(); ++i) {
      if (t[i].text == "returns" && i + 1 < t.size()) func.result = ParseType(t[++i].text);
      else if (t[i].text == "vararg") func.varargs = true;
      else if (t[i].text == "hidden") func.flags |= FUNCFLAG_FHIDDEN;
      else Fail("unexpected \"" + t[i].text + "\"");
    }
    func_ = &func;
    docTarget_ = &func.doc;
  }

  void Param(const std::vector<Token>& t) {
    Expect(t, 3);
    if (!func_) Fail("\"param\" outside a function");
    ParamSpec param{detail::FromUtf8(t[1].text), ParseType(t[2].text), 0, {}};
    for (std::size_t i = 3; i < t.size(); ++i) {
      const std::string& flag = t[i].text;
      if (flag == "in") param.flags |= PARAMFLAG_FIN;
      else if (flag == "out") param.flags |= PARAMFLAG_FOUT;
      else if (flag == "opt") param.flags |= PARAMFLAG_FOPT;
      else if (flag == "retval") param.flags |= PARAMFLAG_FRETVAL;
      else if (flag == "default") {
        if (i + 1 >= t.size()) Fail("\"default\" without its value");
        param.defaultValue = Value(t, &i);
        param.flags |= PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT;
      } else {
        Fail("unexpected \"" + flag + "\"");
      }
    }
    if (!(param.flags & (PARAMFLAG_FIN | PARAMFLAG_FOUT))) param.flags |= PARAMFLAG_FIN;
    func_->params.push_back(std::move(param));
  }

  // A value at t[*i + 1] (its type) and t[*i + 2] (its literal); *i ends on its last token.
  static OwnedVariant Value(const std::vector<Token>& t, std::size_t* i) {
    VARTYPE vt;
    const std::string& typeName = t[++*i].text;
    if (!detail::BasicTypeFromName(typeName, &vt)) Fail("a value of unknown type");
    OwnedVariant value;
    if (vt == VT_EMPTY) return value;
    if (vt == VT_NULL) {
      SetNull(*value);
      return value;
    }
    if (*i + 1 >= t.size()) Fail("a value without its literal");
    const Token& literal = t[++*i];
    const std::u16string text = detail::FromUtf8(literal.text);
    if (vt == VT_BSTR) {
      if (!literal.quoted) Fail("a text value must be quoted");
      SetText(*value, text);
      return value;
    }
    OwnedVariant source = OwnedVariant::Text(text);
    const VARTYPE through = vt == VT_DATE || vt == VT_ERROR ? VARTYPE{VT_R8} : vt;
    if (FAILED(VariantChangeTypeEx(value.get(), source.get(), detail::kFormatLocale, 0, through))) {
      Fail("\"" + literal.text + "\" is no value of type " + typeName);
    }
    if (vt == VT_DATE) {
      value->vt = VT_DATE;
    } else if (vt == VT_ERROR) {
      const double code = value->dblVal;
      SetError(*value, static_cast<SCODE>(static_cast<long long>(code)));
    }
    return value;
  }

  detail::LibSpec lib_;
  detail::TypeDeclSpec* type_ = nullptr;
  detail::FuncSpec* func_ = nullptr;
  std::u16string* docTarget_ = nullptr;
};

}  // namespace

HRESULT ParseTypeLibText(std::string_view text, ITypeLib** lib, std::string* error) {
  if (!lib) return E_INVALIDARG;
  *lib = nullptr;
  try {
    *lib = Reader().Read(text).Detach();
    return S_OK;
  } catch (const ParseError& e) {
    if (error) *error = e.message;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return TYPE_E_CANTLOADLIBRARY;
}

}  // namespace oleaut
