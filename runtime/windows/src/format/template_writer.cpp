// Writing a window-template data block in the layout that ReadTemplateBlock reads.
#include "runtime/windows/template_format.h"

namespace runtime {
namespace {

class ByteWriter {
 public:
  void Word(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void SignedWord(std::int32_t v) { Word(static_cast<std::uint32_t>(v)); }
  void Raw(const void* p, std::size_t n) {
    auto* b = static_cast<const std::uint8_t*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
  }
  void Raw(const std::string& s) { Raw(s.data(), s.size()); }
  void Counted(const std::string& s) {
    Word(static_cast<std::uint32_t>(s.size()));
    Raw(s);
  }
  void Terminated(const std::string& s) {
    // A NUL inside the text would end it early on reading: the text stops there.
    Raw(s.c_str(), std::char_traits<char>::length(s.c_str()));
    bytes_.push_back(0);
  }
  void Append(const std::vector<std::uint8_t>& other) { bytes_.insert(bytes_.end(), other.begin(), other.end()); }
  std::size_t Size() const { return bytes_.size(); }
  std::vector<std::uint8_t>& Bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

std::vector<std::uint8_t> UnitBody(const UnitRecord& unit) {
  ByteWriter out;
  out.Word(unit.typeWord);
  out.Raw(unit.reserved.data(), unit.reserved.size());
  out.Terminated(unit.name);
  out.Terminated(unit.secondText);
  if (unit.IsShort()) {
    out.Raw(unit.shortFields.data(), unit.shortFields.size());
    out.Terminated(unit.shortText);
    out.SignedWord(unit.shortHandler);
  } else {
    out.Word(unit.liveSlot);
    out.SignedWord(unit.left);
    out.SignedWord(unit.top);
    out.SignedWord(unit.width);
    out.SignedWord(unit.height);
    out.Word(unit.pointerSlot);
    out.Word(unit.parentId);
    out.Word(static_cast<std::uint32_t>(unit.children.size()));
    for (std::uint32_t child : unit.children) out.Word(child);
    out.Counted(unit.mousePointer);
    out.Terminated(unit.tag);
    for (std::uint32_t flag : unit.flags) out.Word(flag);
    out.Word(static_cast<std::uint32_t>(unit.events.size()));
    for (const EventBinding& binding : unit.events) {
      out.SignedWord(binding.eventNumber);
      out.SignedWord(binding.handler);
    }
    out.Raw(unit.reserved2.data(), unit.reserved2.size());
  }
  out.Raw(unit.typeData);
  return std::move(out.Bytes());
}

void WriteWindow(ByteWriter& out, const WindowTemplate& form) {
  out.Word(form.header[0]);
  out.Word(form.header[1]);
  out.Counted(form.firstText);
  out.Counted(form.secondText);
  out.Word(static_cast<std::uint32_t>(form.units.size()));

  ByteWriter records;
  std::vector<std::uint32_t> offsets;
  for (const UnitRecord& unit : form.units) {
    offsets.push_back(static_cast<std::uint32_t>(records.Size()));
    std::vector<std::uint8_t> body = UnitBody(unit);
    records.Word(static_cast<std::uint32_t>(body.size()));
    records.Append(body);
  }
  out.Word(static_cast<std::uint32_t>(8 * form.units.size() + records.Size()));
  for (const UnitRecord& unit : form.units) out.Word(unit.id);
  for (std::uint32_t offset : offsets) out.Word(offset);
  out.Append(records.Bytes());
}

}  // namespace

std::vector<std::uint8_t> WriteTemplateBlock(const TemplateBlock& block) {
  ByteWriter out;
  out.Word(static_cast<std::uint32_t>(8 * block.windows.size()));
  for (const TemplateBlock::Window& window : block.windows) out.Word(window.id);
  for (std::size_t i = 0; i < block.windows.size(); ++i) out.Word(0);
  for (const TemplateBlock::Window& window : block.windows) WriteWindow(out, window.form);
  return std::move(out.Bytes());
}

}  // namespace runtime
