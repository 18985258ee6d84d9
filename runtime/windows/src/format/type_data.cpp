// Decoding and encoding UnitTypeData by the type's field layout.
#include "runtime/windows/type_data.h"

#include <algorithm>

#include "byte_reader.h"

namespace runtime {
namespace {

void PutWord(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(static_cast<std::uint8_t>(v >> (8 * i))));
}

std::size_t ReservedSize(const UnitTypeInfo& type) {
  std::size_t size = 0;
  for (const TypeDataField& field : type.layout) {
    if (field.encoding == FieldEncoding::Reserved) size += static_cast<std::size_t>(field.size);
  }
  return size;
}

}  // namespace

TypeData DefaultTypeData(const UnitTypeInfo& type) {
  TypeData data;
  for (const OwnPropertyInfo& property : type.own) {
    OwnValue value;
    value.number = property.defaultNumber;
    if (property.defaultBytes) value.bytes = property.defaultBytes;
    data.own.push_back(std::move(value));
  }
  data.reserved.assign(ReservedSize(type), '\0');
  return data;
}

TypeDataResult DecodeTypeData(const UnitTypeInfo& type, std::string_view bytes) {
  TypeDataResult result;
  result.data = DefaultTypeData(type);
  if (bytes.empty()) {
    result.ok = true;
    return result;
  }
  try {
    format::ByteReader in(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    std::uint32_t version = in.Word("layout version");
    if (version != static_cast<std::uint32_t>(type.layoutVersion)) {
      in.Fail("layout version " + std::to_string(version) + " is not " + std::to_string(type.layoutVersion));
    }
    result.data.reserved.clear();
    for (const TypeDataField& field : type.layout) {
      const char* name = field.own >= 0 ? type.own[field.own].name : "reserved bytes";
      switch (field.encoding) {
        case FieldEncoding::Word: result.data.own[field.own].number = in.SignedWord(name); break;
        case FieldEncoding::Counted: result.data.own[field.own].bytes = in.Counted(name); break;
        case FieldEncoding::Reserved: {
          auto size = static_cast<std::size_t>(field.size);
          result.data.reserved.append(reinterpret_cast<const char*>(in.Bytes(size, name)), size);
          break;
        }
      }
    }
    if (!in.AtEnd()) in.Fail(std::to_string(in.Remaining()) + " bytes left over");
    result.ok = true;
  } catch (const format::FormatError& e) {
    result.ok = false;
    result.error = std::string(type.name) + " data at byte " + std::to_string(e.offset) + ": " + e.what();
  }
  return result;
}

std::string EncodeTypeData(const UnitTypeInfo& type, const TypeData& data) {
  std::string out;
  PutWord(out, static_cast<std::uint32_t>(type.layoutVersion));
  std::size_t reservedAt = 0;
  for (const TypeDataField& field : type.layout) {
    switch (field.encoding) {
      case FieldEncoding::Word: PutWord(out, static_cast<std::uint32_t>(data.own.at(field.own).number)); break;
      case FieldEncoding::Counted: {
        const std::string& bytes = data.own.at(field.own).bytes;
        PutWord(out, static_cast<std::uint32_t>(bytes.size()));
        out += bytes;
        break;
      }
      case FieldEncoding::Reserved: {
        auto size = static_cast<std::size_t>(field.size);
        std::string part = reservedAt < data.reserved.size() ? data.reserved.substr(reservedAt, size) : std::string();
        part.resize(size, '\0');
        out += part;
        reservedAt += size;
        break;
      }
    }
  }
  return out;
}

std::int32_t ClampOwnNumber(const OwnPropertyInfo& property, std::int32_t value) {
  if (property.minimum > property.maximum) return value;
  return std::clamp(value, property.minimum, property.maximum);
}

}  // namespace runtime
