// Table definitions: fields laid end to end, keys made of field numbers.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <mutex>
#include <unordered_set>

#include "frame/export_guard.h"
#include "include/lebase32.h"
#include "records/prepared_set.h"
#include "tabledef/key_filters.h"
#include "tabledef/table_def.h"

// Hosts read the members: on 32-bit Windows the layout is fixed to the byte.
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(FieldDef) == 22 && sizeof(KeyDef) == 32, "field and key slots");
static_assert(offsetof(TableDef, Fields) == 44 && offsetof(TableDef, Keys) == 2860, "slot arrays");
static_assert(offsetof(TableDef, PrimaryKey) == 3372 && offsetof(TableDef, SqlRec) == 3380, "switches");
static_assert(offsetof(TableDef, KeyFilter) == 3392 && sizeof(TableDef) == 3460, "filters");
#endif

namespace lerv32 {
namespace {

// Width and decimals as the type letter allows them.
void Normalise(uint8_t& type, int32_t& width, int32_t& dec) {
  if (dec < 0) dec = 0;
  switch (type) {
    case 'c': type = 'C'; dec = 0; break;
    case 'C': case 'x': dec = 0; break;
    case 'D': width = 10; dec = 0; break;
    case 'L': case 'b': width = 1; dec = 0; break;
    case 'N': if (dec > width - 2) dec = 0; break;
    case 'd': width = 8; break;
    case 'l': case 'o': width = 4; dec = 0; break;
    case 's': width = 2; dec = 0; break;
    case 'n':
      if (width < 3) width = 3;
      if (dec != 2 && dec != 3) dec = 0;
      break;
    default: break;  // 'u' and unknown letters keep what they were given
  }
}

void FreeKeyFilters(TableDef* td) {
  for (char*& filter : td->KeyFilter) FreeKeyFilter(filter);
}

void Relayout(TableDef* td) {
  uint16_t offset = 0;
  for (int32_t i = 0; i < td->FieldCnt; ++i) {
    td->Fields[i].Offset = offset;
    offset = static_cast<uint16_t>(offset + td->Fields[i].Len);
  }
}

// Drops field from every key and renumbers the fields behind it.
void RemoveFromKeys(TableDef* td, int32_t field) {
  for (int32_t k = 0; k < td->KeyCnt; ++k) {
    KeyDef& key = td->Keys[k];
    uint8_t kept = 0;
    for (uint8_t t = 0; t < key.TokenCnt; ++t) {
      const int32_t number = key.TokenFieldNo[t];
      if (number == field) continue;
      key.TokenFieldNo[kept++] = static_cast<uint8_t>(number > field ? number - 1 : number);
    }
    std::memset(key.TokenFieldNo + kept, 0, LERV32_MAX_KEY_FIELDS - kept);
    key.TokenCnt = kept;
  }
}

// The name a field gets from text: blanks around it are no part of it (the
// statements bracket names, where " NAME" would be another column than
// NAME), and of the rest at most the 15 characters the member holds are
// read, so that a name that fills them needs no terminator.
std::string_view NameOf(const char* text) {
  if (text == nullptr) return {};
  while (*text == ' ') ++text;
  std::string_view name(text, strnlen(text, sizeof(FieldDef::Name) - 1));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return name;
}

// The definitions rv_AllocTableDef made and rv_FreeTableDef has not freed:
// only those are freed, so that a definition freed twice, or one the host
// made itself, is never handed to the allocator.
std::mutex g_allocated_mutex;
std::unordered_set<const TableDef*> g_allocated;

}  // namespace

bool InSlots(const TableDef* td, int32_t number, int32_t slots) {
  return td != nullptr && number >= 0 && number < slots;
}

namespace {

template <std::size_t N>
bool Terminated(const char (&name)[N]) {
  return std::memchr(name, '\0', N) != nullptr;
}

bool ValidFields(const TableDef* td) {
  uint32_t offset = 0;
  for (int32_t i = 0; i < td->FieldCnt; ++i) {
    const FieldDef& field = td->Fields[i];
    if (field.Offset != offset || field.Len > 255 || !Terminated(field.Name)) return false;
    offset += field.Len;
  }
  return true;
}

bool ValidKeys(const TableDef* td) {
  for (int32_t k = 0; k < td->KeyCnt; ++k) {
    const KeyDef& key = td->Keys[k];
    if (key.TokenCnt > LERV32_MAX_KEY_FIELDS || !Terminated(key.Name) || !LiveKeyFilter(td->KeyFilter[k])) {
      return false;
    }
    for (int t = 0; t < key.TokenCnt; ++t) {
      if (key.TokenFieldNo[t] >= td->FieldCnt) return false;
    }
  }
  return true;
}

bool CheckTableDef(const TableDef* td) {
  return td->FieldCnt >= 0 && td->FieldCnt <= LERV32_MAX_FIELDS && td->KeyCnt >= 0 &&
         td->KeyCnt <= LERV32_MAX_KEYS && td->PrimaryKey >= 0 && td->PrimaryKey <= td->KeyCnt &&
         Terminated(td->TableName) && ValidFields(td) && ValidKeys(td);
}

// Every call checks its definition, and a host reading a record field by
// field makes a call per field: the check walks every field and key, so the
// last definition found valid on this thread is kept, and one equal to it
// in every member the check reads is valid without the walk (a comparison of
// its bytes, several times faster), unless a key filter was freed since.
// Zero-initialised, as every thread_local without initialiser: nothing kept.
struct ValidDefinition {
  bool kept;
  int32_t field_cnt;
  int32_t key_cnt;
  int32_t primary_key;
  char table_name[sizeof(TableDef::TableName)];
  FieldDef fields[LERV32_MAX_FIELDS];
  KeyDef keys[LERV32_MAX_KEYS];
  char* filters[LERV32_MAX_KEYS];
  uint64_t filters_freed;

  bool Matches(const TableDef* td, uint64_t freed) const {
    return kept && td->FieldCnt == field_cnt && td->KeyCnt == key_cnt && td->PrimaryKey == primary_key &&
           std::memcmp(td->TableName, table_name, sizeof table_name) == 0 &&
           std::memcmp(td->Fields, fields, sizeof(FieldDef) * static_cast<std::size_t>(field_cnt)) == 0 &&
           std::memcmp(td->Keys, keys, sizeof(KeyDef) * static_cast<std::size_t>(key_cnt)) == 0 &&
           std::memcmp(td->KeyFilter, filters, sizeof(char*) * static_cast<std::size_t>(key_cnt)) == 0 &&
           freed == filters_freed;
  }

  void Keep(const TableDef* td, uint64_t freed) {
    kept = true;
    filters_freed = freed;
    field_cnt = td->FieldCnt;
    key_cnt = td->KeyCnt;
    primary_key = td->PrimaryKey;
    std::memcpy(table_name, td->TableName, sizeof table_name);
    std::memcpy(fields, td->Fields, sizeof(FieldDef) * static_cast<std::size_t>(field_cnt));
    std::memcpy(keys, td->Keys, sizeof(KeyDef) * static_cast<std::size_t>(key_cnt));
    std::memcpy(filters, td->KeyFilter, sizeof(char*) * static_cast<std::size_t>(key_cnt));
  }
};

thread_local ValidDefinition t_last_valid;

}  // namespace

bool ValidTableDef(const TableDef* td) {
  if (td == nullptr) return false;
  // Read before the check: a filter freed during it makes the next call check again.
  const uint64_t freed = KeyFiltersFreed();
  if (t_last_valid.Matches(td, freed)) return true;
  if (!CheckTableDef(td)) return false;
  t_last_valid.Keep(td, freed);
  return true;
}

int RecordSize(const TableDef* td) {
  if (td == nullptr || td->FieldCnt <= 0) return 0;
  const FieldDef& last = td->Fields[td->FieldCnt - 1];
  return last.Offset + last.Len;
}

void ClearTableDef(TableDef* td) {
  ReleaseSet(td);
  FreeKeyFilters(td);
  std::memset(td, 0, sizeof *td);
}

bool HasControlCharacters(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

bool IsAcceptableName(std::string_view name) { return !name.empty() && !HasControlCharacters(name); }

int32_t AddField(TableDef* td, const char* name, int32_t type, int32_t width, int32_t dec) {
  if (!ValidTableDef(td) || name == nullptr || td->FieldCnt >= LERV32_MAX_FIELDS) return 0;
  // Blanks around a name are no part of it: the statements bracket names,
  // where " NAME" would be another column than NAME.
  const std::string_view text = NameOf(name);
  // Compared after the cut: the server would refuse the table's script.
  if (!IsAcceptableName(text) || HasFieldNamed(td, text) || SameName(text, "RecId") || SameName(text, "MandId")) {
    return 0;
  }
  return AddResultField(td, std::string(text).c_str(), type, width, dec);
}

int32_t AddResultField(TableDef* td, const char* name, int32_t type, int32_t width, int32_t dec) {
  if (!ValidTableDef(td) || name == nullptr || td->FieldCnt >= LERV32_MAX_FIELDS) return 0;
  auto letter = static_cast<uint8_t>(type);
  Normalise(letter, width, dec);
  FieldDef& field = td->Fields[td->FieldCnt];
  CopyName(field.Name, name);
  field.Type = letter;
  field.Len = static_cast<uint16_t>(width & 0xFF);  // the layout has room for 0 to 255
  field.Dec = static_cast<uint8_t>(dec);
  field.Offset = static_cast<uint16_t>(RecordSize(td));
  ++td->FieldCnt;
  return 1;
}

namespace {

// The metadata accessors trust the caller's number as far as the counts go,
// but never read outside the definition.
const FieldDef* FieldSlot(const TableDef* td, int32_t field) {
  return ValidTableDef(td) && InSlots(td, field, LERV32_MAX_FIELDS) ? &td->Fields[field] : nullptr;
}

const KeyDef* KeySlot(const TableDef* td, int32_t key) {
  return ValidTableDef(td) && InSlots(td, key, LERV32_MAX_KEYS) ? &td->Keys[key] : nullptr;
}

}  // namespace

int32_t FieldNo(const TableDef* td, const char* name) {
  if (!ValidTableDef(td) || name == nullptr) return -1;
  for (int32_t i = 0; i < td->FieldCnt; ++i) {
    if (std::strncmp(td->Fields[i].Name, name, sizeof(FieldDef::Name)) == 0) return i;
  }
  return -1;
}

}  // namespace lerv32

using lerv32::TableDef;

extern "C" {

TableDef* LERV32_CALL rv_AllocTableDef(void) {
  return lerv32::Guarded<TableDef*>(nullptr, [] {
    auto* td = static_cast<TableDef*>(AllocGlobal(sizeof(TableDef)));  // zero-filled
    if (td == nullptr) return td;
    td->ExLevel = 1;
    std::lock_guard<std::mutex> lock(lerv32::g_allocated_mutex);
    try {
      lerv32::g_allocated.insert(td);
    } catch (...) {
      FreeGlobal(td);
      throw;
    }
    return td;
  });
}

// Any definition of rv_AllocTableDef is freed, whatever its members hold;
// every other pointer is ignored.
void LERV32_CALL rv_FreeTableDef(TableDef* td) {
  if (td == nullptr) return;
  {
    std::lock_guard<std::mutex> lock(lerv32::g_allocated_mutex);
    if (lerv32::g_allocated.erase(td) == 0) return;
  }
  lerv32::ClearTableDef(td);
  FreeGlobal(td);
}

int32_t LERV32_CALL rv_AddField(TableDef* td, const char* name, int32_t type, int32_t width, int32_t dec) {
  return lerv32::Guarded<int32_t>(0, [&] { return lerv32::AddField(td, name, type, width, dec); });
}

void LERV32_CALL rv_DelField(TableDef* td, int32_t field) {
  if (!lerv32::ValidTableDef(td) || field < 0 || field >= td->FieldCnt) return;
  std::memmove(&td->Fields[field], &td->Fields[field + 1],
               sizeof(FieldDef) * static_cast<std::size_t>(td->FieldCnt - field - 1));
  --td->FieldCnt;
  std::memset(&td->Fields[td->FieldCnt], 0, sizeof(FieldDef));
  lerv32::Relayout(td);
  lerv32::RemoveFromKeys(td, field);
}

int32_t LERV32_CALL rv_FieldCnt(const TableDef* td) { return lerv32::ValidTableDef(td) ? td->FieldCnt : 0; }

const char* LERV32_CALL rv_FieldName(const TableDef* td, int32_t field) {
  if (!lerv32::ValidTableDef(td) || field < 0 || field >= td->FieldCnt) return nullptr;
  return td->Fields[field].Name;
}

int32_t LERV32_CALL rv_FieldType(const TableDef* td, int32_t field) {
  const FieldDef* f = lerv32::FieldSlot(td, field);
  return f != nullptr ? f->Type : 0;
}
int32_t LERV32_CALL rv_FieldLen(const TableDef* td, int32_t field) {
  const FieldDef* f = lerv32::FieldSlot(td, field);
  return f != nullptr ? f->Len : 0;
}
int32_t LERV32_CALL rv_FieldDec(const TableDef* td, int32_t field) {
  const FieldDef* f = lerv32::FieldSlot(td, field);
  return f != nullptr ? f->Dec : 0;
}
int32_t LERV32_CALL rv_FieldOffset(const TableDef* td, int32_t field) {
  const FieldDef* f = lerv32::FieldSlot(td, field);
  return f != nullptr ? f->Offset : 0;
}

int32_t LERV32_CALL rv_FieldNo(const TableDef* td, const char* name) { return lerv32::FieldNo(td, name); }

int32_t LERV32_CALL rv_FieldNoEx(const TableDef* td, const char* name, int32_t relaxed) {
  const int32_t exact = lerv32::FieldNo(td, name);
  if (exact >= 0 || relaxed == 0 || !lerv32::ValidTableDef(td) || name == nullptr) return exact;
  // Names as people type them: the first 19 characters, blanks around them ignored.
  char wanted[20] = {};
  std::strncpy(wanted, name, sizeof wanted - 1);
  llstrtrim(lstrtrim(wanted));
  for (int32_t i = 0; i < td->FieldCnt; ++i) {
    char candidate[20] = {};
    std::memcpy(candidate, td->Fields[i].Name, sizeof td->Fields[i].Name);
    llstrtrim(lstrtrim(candidate));
    if (std::strcmp(candidate, wanted) == 0) return i;
  }
  return -1;
}

int32_t LERV32_CALL rv_KeyCnt(const TableDef* td) { return lerv32::ValidTableDef(td) ? td->KeyCnt : 0; }

const char* LERV32_CALL rv_KeyName(const TableDef* td, int32_t key) {
  if (!lerv32::ValidTableDef(td) || key < 0 || key >= td->KeyCnt) return nullptr;
  return td->Keys[key].Name;
}

int32_t LERV32_CALL rv_KeyNo(const TableDef* td, const char* name) {
  if (!lerv32::ValidTableDef(td) || name == nullptr) return -1;
  for (int32_t k = 0; k < td->KeyCnt; ++k) {
    if (std::strncmp(td->Keys[k].Name, name, sizeof(KeyDef::Name)) == 0) return k;
  }
  return -1;
}

int32_t LERV32_CALL rv_KeyTokenCnt(const TableDef* td, int32_t key) {
  const KeyDef* k = lerv32::KeySlot(td, key);
  return k != nullptr ? k->TokenCnt : 0;
}

int32_t LERV32_CALL rv_KeyTokenFieldNo(const TableDef* td, int32_t key, int32_t position) {
  const KeyDef* k = lerv32::KeySlot(td, key);
  if (k == nullptr || position < 0 || position >= LERV32_MAX_KEY_FIELDS) return 0;
  return k->TokenFieldNo[position];
}

int32_t LERV32_CALL rv_GetPrimaryKey(const TableDef* td) { return lerv32::ValidTableDef(td) ? td->PrimaryKey : 0; }

int32_t LERV32_CALL rv_SetPrimaryKey(TableDef* td, int32_t key) {
  if (!lerv32::ValidTableDef(td)) return 0;
  td->PrimaryKey = 0;
  if (key < 0 || key >= td->KeyCnt) return 0;
  td->PrimaryKey = key;
  return 1;
}

}  // extern "C"
