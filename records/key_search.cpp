// Key search: the first or last record in key order whose key starts with
// the given bytes. The guards come first, so that a value the search cannot
// use sends no statement; the form of the table's procedures decides what
// they receive, and what they cannot compare is searched plain.
#include "records/key_search.h"

#include <algorithm>

#include "fields/field_values.h"
#include "frame/export_guard.h"
#include "records/navigation.h"
#include "records/read_record.h"
#include "schema/key_fields.h"
#include "schema/type_mapping.h"

namespace lerv32 {

bool CoverKey(const TableDef* td, int key, const char* value, int len, KeyCover* cover) {
  cover->td = td;
  cover->key = key;
  cover->fields.clear();
  int rest = len;
  for (const FieldDef* field : KeyFields(td, key)) {
    if (rest <= 0) break;
    const int length = std::min<int>(field->Len, rest);
    if (length < field->Len && ValueClassOf(*field) != kText) return false;
    cover->fields.push_back({field, value + (len - rest), length});
    rest -= length;
  }
  return rest < len;
}

std::string SqlTextPrefix(const char* p, int length) {
  std::string text(static_cast<size_t>(length) + 1, '\0');
  FieldToSqlText(&text[0], p, length);
  text.resize(static_cast<size_t>(length));
  return text;
}

namespace {

int32_t FindRecId(SQLHDBC dbc, const TableDef* td, int key, const char* value, int32_t len, bool last) {
  if (key < 0 || !ValidKey(td, key) || value == nullptr || len < 1) return 0;
  const bool procedures = UsesProcedures(td);
  // The procedures' parameter would cut a longer value and match too much.
  if (procedures && len > kFindKeyWidth) return 0;
  KeyCover cover{};
  if (!CoverKey(td, key, value, len, &cover)) return 0;
  if (procedures) {
    if (std::optional<std::string> text = ProcedureSearchText(cover)) return FindByProcedure(dbc, cover, *text, last);
  }
  return FindByPlainSql(dbc, cover, last);
}

int32_t GuardedFind(LERV32_HDBC connection, const TableDef* td, int32_t key, const char* value, int32_t len,
                    bool last) {
  return GuardedOn<int32_t>(connection, 0, [&] {
    if (!Usable(connection, td)) return 0;
    return FindRecId(static_cast<SQLHDBC>(connection), td, key, value, len, last);
  });
}

}  // namespace
}  // namespace lerv32

extern "C" {

int32_t LERV32_CALL rv_OdbcFindFirstRecId(LERV32_HDBC connection, const TableDef* td, int32_t key, const char* value,
                                          int32_t len) {
  return lerv32::GuardedFind(connection, td, key, value, len, false);
}

int32_t LERV32_CALL rv_OdbcFindLastRecId(LERV32_HDBC connection, const TableDef* td, int32_t key, const char* value,
                                         int32_t len) {
  return lerv32::GuardedFind(connection, td, key, value, len, true);
}

int32_t LERV32_CALL rv_OdbcQfwSearch(int32_t, int32_t, int32_t, int32_t, int32_t) { return 0; }

int32_t LERV32_CALL rv_OdbcQfwReorg(LERV32_HDBC connection, const TableDef* td) {
  rv_OdbcReorg(connection, td);
  return 1;
}

}  // extern "C"
