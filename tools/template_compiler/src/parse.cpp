// Reading a window description into a TemplateBlock.
#include <charconv>
#include <map>
#include <optional>
#include <set>

#include "description.h"
#include "gbk_text.h"
#include "lexer.h"
#include "runtime/program_info.h"
#include "runtime/windows/font_data.h"
#include "runtime/windows/type_data.h"

namespace template_compiler {

std::int32_t ProcedureSize() { return static_cast<std::int32_t>(sizeof(runtime::EventHandler)); }

namespace {

using runtime::FieldEncoding;
using runtime::OwnPropertyInfo;
using runtime::TypeData;
using runtime::UnitRecord;
using runtime::UnitTypeInfo;
using runtime::ValueStorage;

// A handler given by name, resolved once every procedures line has been read.
struct HandlerReference {
  std::size_t window, unit;
  std::ptrdiff_t binding;  // -1: the short unit's single handler
  std::string name;
  int line;
};

struct UnitInProgress {
  enum class Data { Fields, Empty, Raw } data = Data::Fields;
  const UnitTypeInfo* type = nullptr;
  TypeData values;
  std::set<std::string> given;
  std::string raw;
  int line = 0;
};

class Parser {
 public:
  explicit Parser(std::string_view fileName) : fileName_(fileName) {}

  runtime::TemplateBlock Parse(std::string_view text) {
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      ++line_;
      try {
        std::vector<Token> tokens = SplitLine(text.substr(start, end - start));
        if (!tokens.empty()) Statement(tokens);
      } catch (const SyntaxError& e) {
        Fail(e.what());
      }
      start = end + 1;
    }
    FinishUnit();
    ResolveHandlers();
    return std::move(block_);
  }

 private:
  [[noreturn]] void Fail(const std::string& what, int line = 0) const {
    throw CompileError(std::string(fileName_) + ":" + std::to_string(line ? line : line_) + ": " + what);
  }

  // ---- values ----
  static std::optional<std::int64_t> Integer(const Token& token) {
    if (token.kind != Token::Word) return std::nullopt;
    std::string_view s = token.value;
    bool negative = !s.empty() && s[0] == '-';
    if (negative) s.remove_prefix(1);
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
      base = 16;
      s.remove_prefix(2);
    }
    std::uint64_t value = 0;
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    if (s.empty() || error != std::errc() || end != s.data() + s.size() || value > 0xFFFFFFFFull) return std::nullopt;
    return negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
  }

  // A 32-bit word, written signed or unsigned.
  std::uint32_t Word(const Token& token, const char* what) const {
    std::optional<std::int64_t> v = Integer(token);
    if (!v || *v < INT32_MIN) {
      Fail(std::string(what) + " must be a 32-bit number, not " +
           (token.kind == Token::Word ? "'" + token.value + "'" : std::string("a text or bytes")));
    }
    return static_cast<std::uint32_t>(*v);
  }
  std::int32_t Signed(const Token& token, const char* what) const { return static_cast<std::int32_t>(Word(token, what)); }

  std::string Text(const Token& token, const char* what, bool terminated) const {
    if (token.kind != Token::Text) Fail(std::string(what) + " must be a quoted text");
    std::string gbk = TextToGbk(token);
    if (terminated && gbk.find('\0') != std::string::npos) Fail(std::string(what) + " cannot hold a NUL byte");
    return gbk;
  }

  std::string Bytes(const Token& token, const char* what) const {
    if (token.kind != Token::Bytes) Fail(std::string(what) + " must be [hex bytes]");
    return token.value;
  }

  void Arity(const std::vector<Token>& t, std::size_t least, std::size_t most, const char* usage) const {
    if (t.size() - 1 < least || t.size() - 1 > most) Fail(std::string("usage: ") + usage);
  }

  // ---- statements ----
  void Statement(const std::vector<Token>& t) {
    if (t[0].kind != Token::Word) Fail("a line must start with a keyword");
    const std::string& key = t[0].value;
    if (key == "procedures") return Procedures(t);
    if (key == "window") return Window(t);
    if (block_.windows.empty()) Fail("'" + key + "' outside a window");
    if (key == "header") {
      Arity(t, 2, 2, "header <word> <word>");
      Form().header = {Word(t[1], "header"), Word(t[2], "header")};
      return;
    }
    if (key == "texts") {
      Arity(t, 2, 2, "texts \"first\" \"second\"");
      Form().firstText = Text(t[1], "window text", false);
      Form().secondText = Text(t[2], "window text", false);
      return;
    }
    if (key == "unit") return Unit(t);
    if (!unit_) Fail("'" + key + "' before the first unit of the window");
    UnitField(t);
  }

  void Procedures(const std::vector<Token>& t) {
    for (std::size_t i = 1; i < t.size(); ++i) {
      if (t[i].kind != Token::Word || Integer(t[i])) Fail("a procedure name must be a word");
      if (procedures_.count(t[i].value)) Fail("procedure " + t[i].value + " listed twice");
      std::int32_t index = static_cast<std::int32_t>(procedures_.size());
      procedures_[t[i].value] = index;
    }
  }

  void Window(const std::vector<Token>& t) {
    Arity(t, 1, 2, "window <id> [name]");
    FinishUnit();
    std::uint32_t id = Word(t[1], "window id");
    for (const auto& window : block_.windows) {
      if (window.id == id) Fail("window id " + t[1].value + " given twice");
    }
    block_.windows.push_back({id, {}});
  }

  runtime::WindowTemplate& Form() { return block_.windows.back().form; }

  void Unit(const std::vector<Token>& t) {
    Arity(t, 3, 3, "unit <id> <type> \"name\"");
    FinishUnit();
    UnitRecord record;
    record.id = Word(t[1], "unit id");
    for (const UnitRecord& other : Form().units) {
      if (other.id == record.id) Fail("unit id " + t[1].value + " given twice in this window");
    }
    UnitInProgress unit;
    unit.line = line_;
    if (const UnitTypeInfo* type = runtime::FindUnitTypeByName(t[2].value)) {
      unit.type = type;
      record.typeWord = type->typeWord;
      unit.values = runtime::DefaultTypeData(*type);
    } else if (std::optional<std::int64_t> word = Integer(t[2])) {
      record.typeWord = static_cast<std::uint32_t>(*word);
      unit.type = runtime::FindUnitType(record.typeWord);
      if (unit.type) unit.values = runtime::DefaultTypeData(*unit.type);
    } else {
      Fail("unknown unit type '" + t[2].value + "' (window, EditBox, Label, Button, RadioBox or a type word)");
    }
    if (Form().units.empty() && record.typeWord != runtime::unit_type::Window) {
      Fail("the first unit of a window is the window's own unit, of type window");
    }
    record.name = Text(t[3], "unit name", true);
    Form().units.push_back(std::move(record));
    unit_ = std::move(unit);
  }

  UnitRecord& Record() { return Form().units.back(); }

  void UnitField(const std::vector<Token>& t) {
    const std::string& key = t[0].value;
    UnitRecord& r = Record();
    if (key == "position") {
      Arity(t, 4, 4, "position <left> <top> <width> <height>");
      r.left = Signed(t[1], "left");
      r.top = Signed(t[2], "top");
      r.width = Signed(t[3], "width");
      r.height = Signed(t[4], "height");
    } else if (key == "parent") {
      Arity(t, 1, 1, "parent <unit id>");
      r.parentId = Word(t[1], "parent id");
    } else if (key == "children") {
      for (std::size_t i = 1; i < t.size(); ++i) r.children.push_back(Word(t[i], "child id"));
    } else if (key == "flags") {
      Arity(t, 3, 3, "flags <word> <word> <word>");
      for (int i = 0; i < 3; ++i) r.flags[i] = Word(t[i + 1], "flag word");
    } else if (key == "tag") {
      Arity(t, 1, 1, "tag \"text\"");
      r.tag = Text(t[1], "tag", true);
    } else if (key == "second") {
      Arity(t, 1, 1, "second \"text\"");
      r.secondText = Text(t[1], "second text", true);
    } else if (key == "pointer") {
      Arity(t, 1, 1, "pointer [bytes]");
      r.mousePointer = Bytes(t[1], "mouse-pointer data");
    } else if (key == "slots") {
      Arity(t, 2, 2, "slots <live-window word> <pointer word>");
      r.liveSlot = Word(t[1], "slot");
      r.pointerSlot = Word(t[2], "slot");
    } else if (key == "reserved" || key == "reserved2") {
      Arity(t, 1, 1, "reserved [20 bytes]");
      std::string bytes = Bytes(t[1], "reserved block");
      if (bytes.size() != 20) Fail("a reserved block has exactly 20 bytes");
      std::copy(bytes.begin(), bytes.end(), (key == "reserved" ? r.reserved : r.reserved2).begin());
    } else if (key == "on") {
      Arity(t, 2, 2, "on <event number> <procedure | byte offset | none>");
      if (r.IsShort()) Fail("a short unit has one handler: use 'handler'");
      std::int32_t event = Signed(t[1], "event number");
      for (const runtime::EventBinding& b : r.events) {
        if (b.eventNumber == event) Fail("event " + t[1].value + " bound twice");
      }
      r.events.push_back({event, Handler(t[2], static_cast<std::ptrdiff_t>(r.events.size()))});
    } else if (key == "handler") {
      Arity(t, 1, 1, "handler <procedure | byte offset | none>");
      if (!r.IsShort()) Fail("'handler' belongs to short units; use 'on <event> <handler>'");
      r.shortHandler = Handler(t[1], -1);
    } else if (key == "short-fields") {
      Arity(t, 1, 1, "short-fields [12 bytes]");
      std::string bytes = Bytes(t[1], "short-unit fields");
      if (bytes.size() != 12) Fail("short-unit fields have exactly 12 bytes");
      std::copy(bytes.begin(), bytes.end(), r.shortFields.begin());
    } else if (key == "short-text") {
      Arity(t, 1, 1, "short-text \"text\"");
      r.shortText = Text(t[1], "short-unit text", true);
    } else if (key == "data") {
      DataLine(t);
    } else if (key == "data-reserved") {
      Arity(t, 1, 1, "data-reserved [bytes]");
      if (!unit_->type) Fail("data-reserved needs a known unit type");
      std::string bytes = Bytes(t[1], "reserved data");
      if (bytes.size() != unit_->values.reserved.size()) {
        Fail("the reserved data of " + std::string(unit_->type->name) + " has " +
             std::to_string(unit_->values.reserved.size()) + " bytes");
      }
      unit_->values.reserved = bytes;
      unit_->given.insert(key);
    } else {
      OwnProperty(t);
    }
  }

  std::int32_t Handler(const Token& token, std::ptrdiff_t binding) {
    if (token.kind == Token::Word && token.value == "none") return runtime::kNoHandler;
    if (std::optional<std::int64_t> offset = Integer(token)) {
      if (*offset < -1 || *offset > INT32_MAX) Fail("a handler offset is -1 (none) or a byte offset");
      if (*offset >= 0 && *offset % ProcedureSize() != 0) {
        Fail("a handler offset is a multiple of " + std::to_string(ProcedureSize()));
      }
      return static_cast<std::int32_t>(*offset);
    }
    if (token.kind != Token::Word) Fail("a handler is a procedure name, a byte offset or none");
    references_.push_back({block_.windows.size() - 1, Form().units.size() - 1, binding, token.value, line_});
    return runtime::kNoHandler;
  }

  void DataLine(const std::vector<Token>& t) {
    Arity(t, 1, 2, "data empty | data raw [bytes]");
    if (!unit_->given.empty()) Fail("'data' replaces the own properties given before it");
    if (t[1].kind == Token::Word && t[1].value == "empty" && t.size() == 2) {
      unit_->data = UnitInProgress::Data::Empty;
    } else if (t[1].kind == Token::Word && t[1].value == "raw" && t.size() == 3) {
      unit_->data = UnitInProgress::Data::Raw;
      unit_->raw = Bytes(t[2], "raw data");
    } else {
      Fail("usage: data empty | data raw [bytes]");
    }
  }

  void OwnProperty(const std::vector<Token>& t) {
    const std::string& key = t[0].value;
    const UnitTypeInfo* type = unit_->type;
    std::int32_t index = type ? runtime::FindOwnProperty(*type, key) : -1;
    if (index < 0) {
      Fail("unknown " + std::string(type ? std::string(type->name) + " property" : "keyword for this unit type") +
           " '" + key + "'");
    }
    if (unit_->data != UnitInProgress::Data::Fields) Fail("own properties cannot follow 'data'");
    if (!Stored(*type, index)) Fail(std::string(type->name) + " does not store '" + key + "' in its template");
    if (!unit_->given.insert(key).second) Fail("'" + key + "' given twice");
    const OwnPropertyInfo& property = type->own[index];
    runtime::OwnValue& value = unit_->values.own[index];
    switch (runtime::StorageOf(property.kind)) {
      case ValueStorage::Number:
        Arity(t, 1, 1, "<property> <number | true | false | default>");
        value.number = Number(t[1], property);
        break;
      case ValueStorage::Text:
        Arity(t, 1, 1, "<property> \"text\"");
        value.bytes = Text(t[1], property.name, false);
        break;
      case ValueStorage::Bytes:
        if (property.kind == runtime::value_kind::Font && t.size() >= 2 && t[1].kind == Token::Text) {
          value.bytes = Font(t);
        } else {
          Arity(t, 1, 1, "<property> [bytes]");
          value.bytes = Bytes(t[1], property.name);
        }
        break;
    }
  }

  static bool Stored(const UnitTypeInfo& type, std::int32_t index) {
    for (const runtime::TypeDataField& field : type.layout) {
      if (field.own == index && field.encoding != FieldEncoding::Reserved) return true;
    }
    return false;
  }

  std::int32_t Number(const Token& token, const OwnPropertyInfo& property) const {
    if (token.kind == Token::Word) {
      if (token.value == "true") return 1;
      if (token.value == "false") return 0;
      if (token.value == "default") return runtime::kDefaultColour;
    }
    return Signed(token, property.name);
  }

  std::string Font(const std::vector<Token>& t) const {
    if (t.size() < 4) Fail("usage: font \"face\" <point size> <weight> [italic] [underline] [strikeout]");
    runtime::FontData font;
    font.face = Text(t[1], "font face", false);
    font.pointSize = Signed(t[2], "point size");
    font.weight = Signed(t[3], "weight");
    for (std::size_t i = 4; i < t.size(); ++i) {
      const std::string& style = t[i].value;
      if (t[i].kind == Token::Word && style == "italic") font.style |= runtime::FontData::Italic;
      else if (t[i].kind == Token::Word && style == "underline") font.style |= runtime::FontData::Underline;
      else if (t[i].kind == Token::Word && style == "strikeout") font.style |= runtime::FontData::StrikeOut;
      else Fail("unknown font style '" + style + "' (italic, underline, strikeout)");
    }
    return runtime::EncodeFontData(font);
  }

  void FinishUnit() {
    if (!unit_) return;
    UnitRecord& r = Record();
    switch (unit_->data) {
      case UnitInProgress::Data::Empty: r.typeData.clear(); break;
      case UnitInProgress::Data::Raw: r.typeData = unit_->raw; break;
      case UnitInProgress::Data::Fields:
        if (!unit_->type) Fail("a unit of an unknown type needs 'data empty' or 'data raw [bytes]'", unit_->line);
        r.typeData = runtime::EncodeTypeData(*unit_->type, unit_->values);
        break;
    }
    unit_.reset();
  }

  void ResolveHandlers() {
    for (const HandlerReference& ref : references_) {
      auto found = procedures_.find(ref.name);
      if (found == procedures_.end()) Fail("no procedure '" + ref.name + "' in the procedures list", ref.line);
      std::int32_t offset = found->second * ProcedureSize();
      UnitRecord& r = block_.windows[ref.window].form.units[ref.unit];
      if (ref.binding < 0) r.shortHandler = offset;
      else r.events[static_cast<std::size_t>(ref.binding)].handler = offset;
    }
  }

  std::string_view fileName_;
  int line_ = 0;
  runtime::TemplateBlock block_;
  std::map<std::string, std::int32_t> procedures_;
  std::vector<HandlerReference> references_;
  std::optional<UnitInProgress> unit_;
};

}  // namespace

runtime::TemplateBlock ParseDescription(std::string_view text, std::string_view fileName) {
  return Parser(fileName).Parse(text);
}

}  // namespace template_compiler
