// BSTRs live in a block of their own: 4 spare bytes, the 32-bit byte length, the
// characters and a NUL character (two bytes, three for an odd byte length).
#include "oleaut/bstr.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kHeader = 8;  // keeps the characters 8-aligned
constexpr UINT kMaxBytes = 0x7FFFFFF0u;

BSTR AllocBytes(const void* source, UINT bytes) {
  if (bytes > kMaxBytes) return nullptr;
  auto* block = static_cast<unsigned char*>(std::malloc(kHeader + bytes + 3));
  if (!block) return nullptr;
  std::memset(block, 0, kHeader);
  std::memcpy(block + kHeader - 4, &bytes, 4);
  if (source) {
    std::memcpy(block + kHeader, source, bytes);
  } else {
    std::memset(block + kHeader, 0, bytes);
  }
  std::memset(block + kHeader + bytes, 0, 3);
  return reinterpret_cast<BSTR>(block + kHeader);
}

unsigned char* BlockOf(BSTR text) { return reinterpret_cast<unsigned char*>(text) - kHeader; }

}  // namespace

BSTR SysAllocString(LPCOLESTR text) {
  if (!text) return nullptr;
  UINT length = 0;
  while (text[length] != 0) ++length;
  return SysAllocStringLen(text, length);
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  if (length > kMaxBytes / 2) return nullptr;
  return AllocBytes(text, length * 2);
}

BSTR SysAllocStringByteLen(LPCSTR bytes, UINT length) { return AllocBytes(bytes, length); }

INT SysReAllocString(BSTR* target, LPCOLESTR text) {
  if (!target) return FALSE;
  BSTR copy = SysAllocString(text);
  if (text && !copy) return FALSE;
  SysFreeString(*target);
  *target = copy;
  return TRUE;
}

INT SysReAllocStringLen(BSTR* target, const OLECHAR* text, UINT length) {
  if (!target) return FALSE;
  BSTR copy = SysAllocStringLen(text, length);
  if (!copy) return FALSE;
  SysFreeString(*target);
  *target = copy;
  return TRUE;
}

void SysFreeString(BSTR text) {
  if (text) std::free(BlockOf(text));
}

UINT SysStringByteLen(BSTR text) {
  if (!text) return 0;
  UINT bytes;
  std::memcpy(&bytes, BlockOf(text) + kHeader - 4, 4);
  return bytes;
}

UINT SysStringLen(BSTR text) { return SysStringByteLen(text) / 2; }

namespace oleaut {

BSTR AllocBstr(std::u16string_view text) {
  if (text.size() > kMaxBytes / 2) return nullptr;
  return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

}  // namespace oleaut
