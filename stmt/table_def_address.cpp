#include "stmt/table_def_address.h"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "frame/odbc_handles.h"
#include "platform/win_api.h"
#include "tabledef/table_def.h"

namespace lerv32 {
namespace {

// "=address": a caller's TableDef. The address is pointer-sized, in
// decimal (negative as a signed 32-bit address is printed) or with 0x in
// hexadecimal; anything else, or a value that cannot be the address of a
// TableDef (such as 0, 1 or -1), is no address.
const TableDef* TableDefAt(const char* text) {
  while (*text == ' ') ++text;
  const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const bool negative = *text == '-';
  if (!std::isxdigit(static_cast<unsigned char>(text[negative ? 1 : hex ? 2 : 0]))) return nullptr;
  char* end = nullptr;
  errno = 0;
  uintptr_t address = 0;
  if (negative) {
    const long long value = std::strtoll(text, &end, 10);
    if (value < INTPTR_MIN) return nullptr;
    address = static_cast<uintptr_t>(static_cast<intptr_t>(value));
  } else {
    const unsigned long long value = std::strtoull(text, &end, hex ? 16 : 10);
    if (value > UINTPTR_MAX) return nullptr;
    address = static_cast<uintptr_t>(value);
  }
  while (*end == ' ') ++end;
  if (errno != 0 || *end != '\0' || !PlausibleHandle(reinterpret_cast<const void*>(address)) ||
      address % alignof(TableDef) != 0) {
    return nullptr;
  }
  return reinterpret_cast<const TableDef*>(address);
}

#if defined(_WIN32)
// Asks for the pages in the process: Wine answers ReadProcessMemory through
// its server, which a sandbox may keep from reading the process at all.
bool CopyReadable(const void* address, void* buffer, std::size_t size) {
  constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                              PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
  const auto* at = static_cast<const char*>(address);
  const char* const end = at + size;
  while (at < end) {
    MEMORY_BASIC_INFORMATION info{};
    if (VirtualQuery(at, &info, sizeof info) == 0 || info.State != MEM_COMMIT || (info.Protect & kReadable) == 0 ||
        (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0) {
      return false;
    }
    at = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
  }
  std::memcpy(buffer, address, size);
  return true;
}
#else
bool CopyReadable(const void* address, void* buffer, std::size_t size) {
  return ReadProcessMemory(GetCurrentProcess(), address, buffer, size, nullptr) != FALSE;
}
#endif

}  // namespace

// The address is the host's word: the definition is copied only from
// memory found readable, so that an address naming no memory fails instead
// of faulting, and the copy is what is checked.
bool CopyTableDefAt(const char* text, TableDef* out) {
  const TableDef* td = TableDefAt(text);
  TableDef copy;
  if (td == nullptr || !CopyReadable(td, &copy, sizeof copy) ||
      !ValidTableDef(&copy)) {
    return false;
  }
  for (char*& filter : copy.KeyFilter) filter = nullptr;
  copy.SqlRec = nullptr;
  *out = copy;
  return true;
}

}  // namespace lerv32
