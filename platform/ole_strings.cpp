// OLE automation strings laid out as Windows lays them out: a 32-bit byte
// length in front of the text, a zero unit behind it. The pointer handed out
// is the text; the block starts at the length.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/win_api.h"

namespace {

constexpr size_t kPrefixBytes = sizeof(uint32_t);
// Past this the byte length no longer fits its 32-bit prefix.
constexpr UINT kMaxLength = (UINT32_MAX - kPrefixBytes - sizeof(OLECHAR)) / sizeof(OLECHAR);

char* BlockOf(BSTR text) { return reinterpret_cast<char*>(text) - kPrefixBytes; }

size_t Length(const OLECHAR* text) {
  size_t length = 0;
  while (text[length] != 0) ++length;
  return length;
}

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  if (length > kMaxLength) return nullptr;
  const uint32_t byte_length = length * static_cast<uint32_t>(sizeof(OLECHAR));
  char* block = static_cast<char*>(std::malloc(kPrefixBytes + byte_length + sizeof(OLECHAR)));
  if (block == nullptr) return nullptr;
  std::memcpy(block, &byte_length, kPrefixBytes);
  BSTR result = reinterpret_cast<BSTR>(block + kPrefixBytes);
  if (text != nullptr) {
    std::memcpy(result, text, byte_length);
  } else {
    std::memset(result, 0, byte_length);
  }
  result[length] = 0;
  return result;
}

BSTR SysAllocString(const OLECHAR* text) {
  if (text == nullptr) return nullptr;
  const size_t length = Length(text);
  return length > kMaxLength ? nullptr : SysAllocStringLen(text, static_cast<UINT>(length));
}

void SysFreeString(BSTR text) {
  if (text != nullptr) std::free(BlockOf(text));
}

UINT SysStringLen(BSTR text) {
  if (text == nullptr) return 0;
  uint32_t byte_length = 0;
  std::memcpy(&byte_length, BlockOf(text), kPrefixBytes);
  return byte_length / sizeof(OLECHAR);
}
