// Key values made from a record: the key's fields' bytes end to end.
#include <algorithm>
#include <cstring>

#include "include/lerv32.h"
#include "schema/type_mapping.h"
#include "tabledef/table_def.h"

namespace lerv32 {
namespace {

// A key number outside the keys in use gives the empty key; a position
// naming no field adds nothing.
int32_t MakeKeyFromRecord(const TableDef& td, int key, const char* rec, char* dest) {
  int32_t size = 0;
  if (key >= 0 && key < td.KeyCnt && key < LERV32_MAX_KEYS) {
    const KeyDef& k = td.Keys[key];
    const int count = std::min<int>(k.TokenCnt, LERV32_MAX_KEY_FIELDS);
    for (int t = 0; t < count; ++t) {
      const FieldDef* f = FieldAt(&td, k.TokenFieldNo[t]);
      if (f == nullptr) continue;
      std::memcpy(dest + size, rec + f->Offset, f->Len);
      size += f->Len;
    }
  }
  dest[size] = '\0';
  return size;
}

}  // namespace
}  // namespace lerv32

extern "C" {

int32_t LERV32_CALL rv_MakeKeyFromRecord(const TableDef* td, int32_t key, const char* rec, char* dest) {
  if (dest == nullptr) return 0;
  if (!lerv32::ValidTableDef(td) || rec == nullptr) {
    dest[0] = '\0';
    return 0;
  }
  return lerv32::MakeKeyFromRecord(*td, key, rec, dest);
}

}  // extern "C"
