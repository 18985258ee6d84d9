// The values that cross the command interface: type words, texts, byte sets, arrays and
// the argument and result records. Shared by the runtime, its support libraries and the
// program, header only.
#pragma once

#include <cstdint>
#include <cstring>

namespace runtime {

using TypeWord = std::uint32_t;

namespace types {
inline constexpr TypeWord None = 0;
inline constexpr TypeWord Bool = 0x80000002;
inline constexpr TypeWord DateTime = 0x80000003;
inline constexpr TypeWord Text = 0x80000004;
inline constexpr TypeWord ByteSet = 0x80000005;
inline constexpr TypeWord SubroutinePointer = 0x80000006;
inline constexpr TypeWord Byte = 0x80000101;
inline constexpr TypeWord Short = 0x80000201;
inline constexpr TypeWord Int = 0x80000301;
inline constexpr TypeWord Long = 0x80000401;
inline constexpr TypeWord Float = 0x80000501;
inline constexpr TypeWord Double = 0x80000601;
// Held elsewhere: an array of the type in the other bits, or an argument by reference.
inline constexpr TypeWord HeldElsewhere = 0x20000000;
// Data types of the core library (library 1).
inline constexpr TypeWord ComObject = 0x00010030;
inline constexpr TypeWord Variant = 0x00010031;
}  // namespace types

enum class TypeClass { None, Basic, LibraryDefined, ProgramDefined };

constexpr TypeClass ClassifyType(TypeWord t) {
  if (t == 0) return TypeClass::None;
  if (t >= 0x80000000u && t <= 0xBFFFFFFFu) return TypeClass::Basic;
  if (t >= 0x00000001u && t <= 0x3FFFFFFFu) return TypeClass::LibraryDefined;
  return TypeClass::ProgramDefined;
}
constexpr bool IsHeldElsewhere(TypeWord t) { return (t & types::HeldElsewhere) != 0; }
constexpr TypeWord BaseType(TypeWord t) { return t & ~types::HeldElsewhere; }
constexpr TypeWord ArrayOf(TypeWord t) { return t | types::HeldElsewhere; }

// The six numeric types (low byte 0x01, byte to double) and their element sizes.
constexpr int NumericSize(TypeWord t) {
  switch (t) {
    case types::Byte: return 1;
    case types::Short: return 2;
    case types::Int: return 4;
    case types::Long: return 8;
    case types::Float: return 4;
    case types::Double: return 8;
    default: return 0;
  }
}
constexpr bool IsNumericType(TypeWord t) { return NumericSize(t) != 0; }

// Library-defined types: library number (from 1) in the high half, type number in the low.
constexpr std::uint16_t LibraryOfType(TypeWord t) { return static_cast<std::uint16_t>(BaseType(t) >> 16); }
constexpr std::uint16_t TypeNumberOfType(TypeWord t) { return static_cast<std::uint16_t>(t & 0xFFFF); }
constexpr TypeWord LibraryType(std::uint16_t library, std::uint16_t number) {
  return (static_cast<TypeWord>(library) << 16) | number;
}

// ---- Text: a heap block of NUL-terminated GBK bytes; null is the empty text. ----
using Text = char*;

// A caller whose variable is empty passes these instead of null.
inline constexpr char EmptyText[1] = "";
inline constexpr std::int32_t EmptyByteSet[2] = {1, 0};

inline std::int32_t TextLengthOf(const char* t) {
  return t ? static_cast<std::int32_t>(std::strlen(t)) : 0;
}

// ---- ByteSet: a heap block {int32 1, int32 length, bytes}; null is the empty byte set. ----
inline constexpr int ByteSetHeaderSize = 8;
inline std::int32_t ByteSetLength(const void* b) {
  if (!b) return 0;
  std::int32_t n;
  std::memcpy(&n, static_cast<const char*>(b) + 4, 4);
  return n;
}
inline unsigned char* ByteSetBytes(void* b) { return static_cast<unsigned char*>(b) + ByteSetHeaderSize; }
inline const unsigned char* ByteSetBytes(const void* b) {
  return static_cast<const unsigned char*>(b) + ByteSetHeaderSize;
}

// ---- RuntimeArray: {int32 dimension count d, int32 size[d], elements}. ----
inline std::int32_t ArrayDimensions(const void* a) {
  std::int32_t d;
  std::memcpy(&d, a, 4);
  return d;
}
inline std::int32_t ArrayDimensionSize(const void* a, int i) {
  std::int32_t n;
  std::memcpy(&n, static_cast<const char*>(a) + 4 + 4 * i, 4);
  return n;
}
// Product of the sizes; 1 when there are no dimensions.
inline std::int64_t ArrayCount(const void* a) {
  std::int64_t count = 1;
  for (int i = 0, d = ArrayDimensions(a); i < d; ++i) count *= ArrayDimensionSize(a, i);
  return count;
}
inline int ArrayHeaderSize(const void* a) { return 4 + 4 * ArrayDimensions(a); }
inline unsigned char* ArrayElements(void* a) { return static_cast<unsigned char*>(a) + ArrayHeaderSize(a); }
inline const unsigned char* ArrayElements(const void* a) {
  return static_cast<const unsigned char*>(a) + ArrayHeaderSize(a);
}
// Elements may be unaligned (the header is 4 + 4d bytes): read and write them by copy.
template <typename T>
inline T ArrayElementAt(const void* a, std::int64_t i) {
  T v;
  std::memcpy(&v, ArrayElements(a) + i * static_cast<std::int64_t>(sizeof(T)), sizeof(T));
  return v;
}
template <typename T>
inline void SetArrayElementAt(void* a, std::int64_t i, T v) {
  std::memcpy(ArrayElements(a) + i * static_cast<std::int64_t>(sizeof(T)), &v, sizeof(T));
}

// ---- Argument and result records: {data low, data high, type word}. ----
// A 64-bit pointer fills data low and data high together.
struct CommandArg {
  std::uint32_t dataLow;
  std::uint32_t dataHigh;
  TypeWord type;
};
using CommandResult = CommandArg;

using Command = void (*)(CommandResult* result, std::int32_t argc, CommandArg* args);

inline bool IsOmitted(const CommandArg& a) { return a.type == types::None; }

inline std::uint64_t ArgBits(const CommandArg& a) {
  return static_cast<std::uint64_t>(a.dataLow) | (static_cast<std::uint64_t>(a.dataHigh) << 32);
}
inline void* ArgPointer(const CommandArg& a) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(ArgBits(a))); }
inline const char* ArgText(const CommandArg& a) { return static_cast<const char*>(ArgPointer(a)); }
inline std::int32_t ArgInt(const CommandArg& a) { return static_cast<std::int32_t>(a.dataLow); }
inline std::int64_t ArgLong(const CommandArg& a) { return static_cast<std::int64_t>(ArgBits(a)); }
inline bool ArgBool(const CommandArg& a) { return a.dataLow != 0; }
inline double ArgDouble(const CommandArg& a) {
  std::uint64_t bits = ArgBits(a);
  double d;
  std::memcpy(&d, &bits, 8);
  return d;
}
inline float ArgFloat(const CommandArg& a) {
  float f;
  std::memcpy(&f, &a.dataLow, 4);
  return f;
}

inline void SetBits(CommandArg* r, std::uint64_t bits, TypeWord type) {
  r->dataLow = static_cast<std::uint32_t>(bits);
  r->dataHigh = static_cast<std::uint32_t>(bits >> 32);
  r->type = type;
}
inline CommandArg MakeArg(std::uint64_t bits, TypeWord type) {
  CommandArg a{};
  SetBits(&a, bits, type);
  return a;
}
inline CommandArg PointerArg(const void* p, TypeWord type) {
  return MakeArg(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p)), type);
}
inline CommandArg TextArg(const char* t) { return PointerArg(t ? t : EmptyText, types::Text); }
inline CommandArg ByteSetArg(const void* b) { return PointerArg(b ? b : EmptyByteSet, types::ByteSet); }
inline CommandArg IntArg(std::int32_t v) { return MakeArg(static_cast<std::uint32_t>(v), types::Int); }
inline CommandArg BoolArg(bool v) { return MakeArg(v ? 1u : 0u, types::Bool); }
inline CommandArg LongArg(std::int64_t v) { return MakeArg(static_cast<std::uint64_t>(v), types::Long); }
inline CommandArg DoubleArg(double v, TypeWord type = types::Double) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, 8);
  return MakeArg(bits, type);
}
inline CommandArg FloatArg(float v) {
  std::uint32_t bits;
  std::memcpy(&bits, &v, 4);
  return MakeArg(bits, types::Float);
}
inline constexpr CommandArg OmittedArg{0, 0, 0};

inline void SetPointerResult(CommandResult* r, const void* p, TypeWord type) {
  SetBits(r, static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p)), type);
}
inline void SetIntResult(CommandResult* r, std::int32_t v) { SetBits(r, static_cast<std::uint32_t>(v), types::Int); }
inline void SetBoolResult(CommandResult* r, bool v) { SetBits(r, v ? 1u : 0u, types::Bool); }
inline void SetDoubleResult(CommandResult* r, double v) { *r = DoubleArg(v); }
inline void SetFloatResult(CommandResult* r, float v) { *r = FloatArg(v); }

}  // namespace runtime
