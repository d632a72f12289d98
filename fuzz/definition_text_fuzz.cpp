// Arbitrary field and key definition texts: every line is tried as both, on
// one definition, which must stay within its limits.
#include <cstdlib>
#include <cstring>
#include <string>

#include "include/lerv32.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TableDef* td = rv_AllocTableDef();
  td->UseKeyTable = size % 2;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    rv_AddFieldDef(td, line.c_str());
    rv_AddKeyDef(td, line.c_str());
    start = end + 1;
  }
  if (td->FieldCnt > LERV32_MAX_FIELDS || td->KeyCnt > LERV32_MAX_KEYS) std::abort();
  for (int k = 0; k < td->KeyCnt; ++k) {
    if (td->Keys[k].TokenCnt == 0 || td->Keys[k].TokenCnt > LERV32_MAX_KEY_FIELDS) std::abort();
    for (int t = 0; t < td->Keys[k].TokenCnt; ++t) {
      if (td->Keys[k].TokenFieldNo[t] >= td->FieldCnt) std::abort();
    }
  }
  if (td->FieldCnt > 0) rv_DelField(td, static_cast<int32_t>(size % static_cast<size_t>(td->FieldCnt)));
  rv_FreeTableDef(td);
  return 0;
}
