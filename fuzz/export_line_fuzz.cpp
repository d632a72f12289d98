// Arbitrary bytes as an export line, read field by field into a record
// whose fields are exactly as wide as stated (the sanitizer sees a byte
// beyond), then each written back as an export item.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "include/lerv32.h"

namespace {

constexpr char kTypes[] = "CcuDoLNndlsbx";

struct Field {
  char type;
  int32_t width;
  int32_t dec;
};

// The first bytes pick up to four fields: type, width (0 to 300, beyond the
// widest field there is), places.
std::vector<Field> FieldsFrom(const uint8_t*& data, size_t& size) {
  std::vector<Field> fields;
  while (size >= 3 && fields.size() < 4 && data[0] != '\n') {
    fields.push_back({kTypes[data[0] % (sizeof kTypes - 1)], static_cast<int32_t>(data[1]) + (data[2] & 0x80 ? 45 : 0),
                      static_cast<int32_t>(data[2] & 0x1f)});
    data += 3;
    size -= 3;
  }
  return fields;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<Field> fields = FieldsFrom(data, size);
  const std::string line(reinterpret_cast<const char*>(data), size);
  const char* at = line.c_str();
  const char* const end = at + line.size();
  for (const Field& field : fields) {
    const auto value = std::make_unique<char[]>(static_cast<size_t>(field.width) + 1);
    std::memset(value.get(), ' ', static_cast<size_t>(field.width) + 1);
    at = rv_FieldImport(at, value.get(), field.type, field.width, field.dec);
    if (at < line.c_str() || at > end) std::abort();
    // An export item is at most twice the widest field and a few signs.
    std::vector<char> out(1024, '\0');
    rv_FieldExport(out.data(), value.get(), field.type, field.width, field.dec, 1);
    if (out.back() != '\0') std::abort();
  }
  return 0;
}
