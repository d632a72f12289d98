// The definition whose record class header the hostile host compiles: every
// hostile name as a text field, names that break C++ literals, a date field,
// the table and its key named to end a bracket.
#ifndef LERV32_TESTS_CODEGEN_HOSTILE_DEFINITION_H
#define LERV32_TESTS_CODEGEN_HOSTILE_DEFINITION_H

#include <cstring>
#include <memory>
#include <string>

#include "include/lerv32.h"
#include "support/hostile_names.h"

namespace hostile {

using DefinitionPtr = std::unique_ptr<TableDef, void (*)(TableDef*)>;

// Built by the calls, as a host builds it; null when a call refused.
inline DefinitionPtr Definition() {
  DefinitionPtr td(rv_AllocTableDef(), [](TableDef* t) { rv_FreeTableDef(t); });
  std::strcpy(td->TableName, kDropOpfer);
  bool ok = true;
  for (const std::string& name : Names(sizeof td->Fields[0].Name - 1)) {
    ok &= rv_AddField(td.get(), name.c_str(), 'C', 10, 0) == 1;
  }
  // A literal's quote and escape, a trigraph of a backslash.
  ok &= rv_AddField(td.get(), "q\"\\?\?/'", 'C', 10, 0) == 1;
  ok &= rv_AddField(td.get(), "Datum ]", 'D', 10, 0) == 1;
  KeyDef& key = td->Keys[0];
  std::memcpy(key.Name, kDropOpfer, sizeof key.Name - 1);
  key.TokenCnt = 2;
  key.TokenFieldNo[0] = static_cast<uint8_t>(td->FieldCnt - 1);
  key.TokenFieldNo[1] = 3;
  td->KeyCnt = 1;
  if (!ok) td.reset();
  return td;
}

}  // namespace hostile

#endif  // LERV32_TESTS_CODEGEN_HOSTILE_DEFINITION_H
