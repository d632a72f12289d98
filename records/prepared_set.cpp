#include "records/prepared_set.h"

#include <cstddef>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <type_traits>

#include "frame/odbc_errors.h"
#include "frame/odbc_trace.h"
#include "frame/settings.h"
#include "include/lebase32.h"
#include "records/navigation.h"
#include "records/sql_names.h"
#include "records/write_record.h"
#include "tabledef/table_def.h"
#include "tabledef/tenant_scope.h"

#include <sqlext.h>

namespace lerv32 {

static_assert(std::is_same_v<LERV32_SQLLEN, SQLLEN>, "the set's indicators are SQLLEN");
static_assert(sizeof(SqlRec) % 8 == 0, "the value area behind the fixed part starts aligned");
#if defined(_WIN32) && !defined(_WIN64)
// The 32-bit layout hosts were built against.
static_assert(offsetof(SqlRec, Connection) == 20 && offsetof(SqlRec, ReadStmt) == 24 &&
                  offsetof(SqlRec, FirstStmt) == 40 && offsetof(SqlRec, FindLastStmt) == 360 &&
                  offsetof(SqlRec, ValueSize) == 424 && offsetof(SqlRec, CType) == 936 &&
                  offsetof(SqlRec, SqlType) == 1192 && offsetof(SqlRec, Indicator) == 1448 &&
                  offsetof(SqlRec, Decimals) == 1960 && offsetof(SqlRec, Value) == 2216 &&
                  offsetof(SqlRec, KeyText) == 2728 && offsetof(SqlRec, KeyLen) == 2860 &&
                  offsetof(SqlRec, KeyTextInd) == 2864 && offsetof(SqlRec, KeyLenInd) == 2868 &&
                  sizeof(SqlRec) == 2872,
              "SqlRec");
#endif

namespace {

// What the SQL names of a table are made of (its name and the tenant when
// the table uses one), compared on every call without building the names.
struct SqlNameParts {
  char table[sizeof(TableDef::TableName)];
  char tenant[kMandantSize];

  static SqlNameParts Of(const TableDef* td) {
    SqlNameParts parts;
    std::memcpy(parts.table, td->TableName, sizeof parts.table);
    const TenantText current = CurrentTenant();
    const bool tenant = td->UseMandant != 0 && !current.empty();
    std::strncpy(parts.tenant, tenant ? current.text : "", sizeof parts.tenant);
    return parts;
  }
  bool operator==(const SqlNameParts& other) const {
    return std::strncmp(table, other.table, sizeof table) == 0 && std::strncmp(tenant, other.tenant, sizeof tenant) == 0;
  }
};

// What a set was prepared for: a definition whose fields, keys or names
// differ has statements and buffers the set does not hold.
struct SetEntry {
  TableDef* owner = nullptr;
  SQLHDBC dbc = SQL_NULL_HDBC;
  int32_t field_cnt = 0;
  int32_t key_cnt = 0;
  FieldDef fields[LERV32_MAX_FIELDS] = {};
  KeyDef keys[LERV32_MAX_KEYS] = {};
  SqlNameParts names = {};

  bool Describes(const TableDef* td) const {
    return td == owner && td->FieldCnt == field_cnt && td->KeyCnt == key_cnt &&
           std::memcmp(td->Fields, fields, sizeof(FieldDef) * static_cast<size_t>(field_cnt)) == 0 &&
           std::memcmp(td->Keys, keys, sizeof(KeyDef) * static_cast<size_t>(key_cnt)) == 0 &&
           SqlNameParts::Of(td) == names;
  }
};

std::mutex& SetsMutex() {
  static std::mutex mutex;
  return mutex;
}

std::map<const SqlRec*, SetEntry>& Sets() {
  static std::map<const SqlRec*, SetEntry> sets;
  return sets;
}

void FreeStatement(LERV32_HSTMT& stmt) {
  if (stmt != nullptr) ODBC_CALL(SQLFreeStmt, static_cast<SQLHSTMT>(stmt), SQL_DROP);
  stmt = nullptr;
}

// Frees every statement the block holds and the block.
void FreeSet(SqlRec* rec) {
  for (LERV32_HSTMT* stmt : {&rec->ReadStmt, &rec->UpdateStmt, &rec->DeleteStmt, &rec->AppendStmt}) {
    FreeStatement(*stmt);
  }
  for (int k = 0; k < LERV32_MAX_KEYS; ++k) {
    for (LERV32_HSTMT* row : {rec->FirstStmt, rec->LastStmt, rec->NextStmt, rec->PriorStmt, rec->FindFirstStmt,
                              rec->FindLastStmt}) {
      FreeStatement(row[k]);
    }
  }
  FreeGlobal(rec);
}

// Whether every field and key of td can be described by a set.
bool Preparable(const TableDef* td) {
  if (!FieldCountValid(td) || td->KeyCnt < 0 || td->KeyCnt > LERV32_MAX_KEYS) return false;
  for (int k = 0; k < td->KeyCnt; ++k) {
    if (!ValidKey(td, k)) return false;
  }
  return true;
}

// The block, cleared, with the fields' bindings and buffers laid out.
SqlRec* AllocateSet(const TableDef* td, SQLHDBC dbc) {
  size_t size = sizeof(SqlRec);
  for (int i = 0; i < td->FieldCnt; ++i) size += FieldSlotSize(td->Fields[i]);
  auto* rec = static_cast<SqlRec*>(AllocGlobal(static_cast<uint32_t>(size)));
  if (rec == nullptr) return nullptr;
  std::memset(rec, 0, size);
  rec->Connection = dbc;
  rec->FieldCnt = td->FieldCnt;
  char* value = reinterpret_cast<char*>(rec + 1);
  for (int i = 0; i < td->FieldCnt; ++i) {
    const FieldDef& f = td->Fields[i];
    const FieldBinding binding = BindingOf(f);
    rec->ValueSize[i] = static_cast<int32_t>(binding.value_size);
    rec->CType[i] = binding.c_type;
    rec->SqlType[i] = binding.sql_type;
    rec->Indicator[i] = static_cast<SQLLEN>(binding.value_size);
    rec->Decimals[i] = static_cast<int16_t>(SqlFieldScale(f));
    rec->Value[i] = value;
    value += FieldSlotSize(f);
  }
  rec->KeyTextInd = LERV32_FIND_KEY_WIDTH;
  rec->KeyLenInd = sizeof(int32_t);
  return rec;
}

// Prepares the statements of one set; the first failure is reported and
// ends it.
class SetBuilder {
 public:
  SetBuilder(const TableDef* td, SQLHDBC dbc, SqlRec* rec) : td_(td), dbc_(dbc), rec_(rec) {}

  bool Build() {
    const int n = td_->FieldCnt;
    std::string fields;
    for (int i = 0; i < n; ++i) fields += ",?";
    std::string append = "EXECUTE " + QuotedProcedureName("up_Append_", td_);
    if (n > 0) append += " " + fields.substr(1);
    return Table(&rec_->ReadStmt, "up_Sel_", "", true) && Table(&rec_->UpdateStmt, "up_Upd_", fields, false) &&
           Table(&rec_->DeleteStmt, "up_Del_", "", false) && Append(append) && Keys();
  }

 private:
  SQLHSTMT Prepare(const std::string& sql) {
    SQLHSTMT h = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(ODBC_CALL(SQLAllocStmt, dbc_, &h))) {
      OdbcReportErrors(dbc_, SQL_NULL_HSTMT, 0);
      return SQL_NULL_HSTMT;
    }
    std::string text = sql;
    if (!SQL_SUCCEEDED(ODBC_CALL(SQLPrepare, h, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS))) {
      return Fail(h);
    }
    ODBC_CALL(SQLSetStmtOption, h, SQL_BIND_TYPE, SQL_BIND_BY_COLUMN);
    return h;
  }

  SQLHSTMT Fail(SQLHSTMT h) {
    OdbcReportErrors(dbc_, h, 0);
    ODBC_CALL(SQLFreeStmt, h, SQL_DROP);
    return SQL_NULL_HSTMT;
  }

  bool Keep(LERV32_HSTMT* slot, SQLHSTMT h, bool bound) {
    if (h == SQL_NULL_HSTMT) return false;
    if (!bound) {
      Fail(h);
      return false;
    }
    *slot = h;
    return true;
  }

  bool BindRecIdParam(SQLHSTMT h) {
    return SQL_SUCCEEDED(ODBC_CALL(SQLBindParameter, h, 1, SQL_PARAM_INPUT, SQL_C_LONG, SQL_INTEGER, 4, 0,
                                   &rec_->RecId, 4, &rec_->RecIdInd));
  }

  bool BindFields(SQLHSTMT h, SQLUSMALLINT first) {
    for (int i = 0; i < td_->FieldCnt; ++i) {
      if (!BindFieldParam(h, static_cast<SQLUSMALLINT>(first + i), td_->Fields[i], rec_->Value[i],
                          &rec_->Indicator[i])) {
        return false;
      }
    }
    return true;
  }

  bool BindColumns(SQLHSTMT h) {
    for (int i = 0; i < td_->FieldCnt; ++i) {
      // Text has room for its zero byte.
      const SQLLEN length = rec_->ValueSize[i] + (rec_->CType[i] == SQL_C_CHAR ? 1 : 0);
      if (!SQL_SUCCEEDED(ODBC_CALL(SQLBindCol, h, static_cast<SQLUSMALLINT>(i + 1), rec_->CType[i],
                                   rec_->Value[i], length, &rec_->Indicator[i]))) {
        return false;
      }
    }
    return true;
  }

  // Read, update and delete: the RecId as parameter 1; the update's fields
  // behind it, the read's as result columns.
  bool Table(LERV32_HSTMT* slot, const char* prefix, const std::string& more, bool read) {
    SQLHSTMT h = Prepare("EXECUTE " + QuotedProcedureName(prefix, td_) + " ?" + more);
    if (h == SQL_NULL_HSTMT) return false;
    const bool bound = BindRecIdParam(h) && (more.empty() || BindFields(h, 2)) && (!read || BindColumns(h));
    return Keep(slot, h, bound);
  }

  bool Append(const std::string& sql) {
    SQLHSTMT h = Prepare(sql);
    if (h == SQL_NULL_HSTMT) return false;
    const bool bound = BindFields(h, 1) && SQL_SUCCEEDED(ODBC_CALL(SQLBindCol, h, 1, SQL_C_LONG, &rec_->RecId, 4,
                                                                   &rec_->RecIdInd));
    return Keep(&rec_->AppendStmt, h, bound);
  }

  // What a key statement takes: nothing, the RecId, or the search value and
  // its length.
  enum class KeyParams { kNone, kRecId, kSearch };

  // One key statement; its result goes to ResultRecId.
  bool Key(LERV32_HSTMT* slot, const char* prefix, int key, KeyParams params) {
    static const char* const kMarkers[] = {"", " ?", " ?,?"};
    SQLHSTMT h = Prepare("EXECUTE " + KeyProcedureName(prefix, td_, key) + kMarkers[static_cast<int>(params)]);
    if (h == SQL_NULL_HSTMT) return false;
    bool bound = true;
    if (params == KeyParams::kRecId) bound = BindRecIdParam(h);
    if (params == KeyParams::kSearch) {
      bound = SQL_SUCCEEDED(ODBC_CALL(SQLBindParameter, h, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_CHAR,
                                      LERV32_FIND_KEY_WIDTH, 0, rec_->KeyText, LERV32_FIND_KEY_WIDTH,
                                      &rec_->KeyTextInd)) &&
              SQL_SUCCEEDED(ODBC_CALL(SQLBindParameter, h, 2, SQL_PARAM_INPUT, SQL_C_LONG, SQL_INTEGER, 4, 0,
                                      &rec_->KeyLen, 4, &rec_->KeyLenInd));
    }
    bound = bound && SQL_SUCCEEDED(ODBC_CALL(SQLBindCol, h, 1, SQL_C_LONG, &rec_->ResultRecId, 4, &rec_->RecIdInd));
    return Keep(slot, h, bound);
  }

  bool Keys() {
    for (int k = 0; k < td_->KeyCnt; ++k) {
      if (!Key(&rec_->NextStmt[k], "up_Next_", k, KeyParams::kRecId) ||
          !Key(&rec_->PriorStmt[k], "up_Prior_", k, KeyParams::kRecId) ||
          !Key(&rec_->FirstStmt[k], "up_First_", k, KeyParams::kNone) ||
          !Key(&rec_->LastStmt[k], "up_Last_", k, KeyParams::kNone) ||
          !Key(&rec_->FindFirstStmt[k], "up_FindF_", k, KeyParams::kSearch) ||
          !Key(&rec_->FindLastStmt[k], "up_FindL_", k, KeyParams::kSearch)) {
        return false;
      }
    }
    rec_->KeyCnt = td_->KeyCnt;
    return true;
  }

  const TableDef* td_;
  SQLHDBC dbc_;
  SqlRec* rec_;
};

}  // namespace

void PrepareSet(TableDef* td, SQLHDBC dbc) {
  // The statements and the names they are kept for name one tenant.
  const TenantScope tenant;
  ReleaseSet(td);
  if (td->ExLevel < 2 || !Preparable(td)) return;
  SqlRec* rec = AllocateSet(td, dbc);
  if (rec == nullptr) return;
  if (!SetBuilder(td, dbc, rec).Build()) {
    FreeSet(rec);
    return;
  }
  SetEntry entry;
  entry.owner = td;
  entry.dbc = dbc;
  entry.field_cnt = td->FieldCnt;
  entry.key_cnt = td->KeyCnt;
  std::memcpy(entry.fields, td->Fields, sizeof(FieldDef) * static_cast<size_t>(td->FieldCnt));
  std::memcpy(entry.keys, td->Keys, sizeof(KeyDef) * static_cast<size_t>(td->KeyCnt));
  entry.names = SqlNameParts::Of(td);
  {
    std::lock_guard<std::mutex> lock(SetsMutex());
    Sets()[rec] = entry;
  }
  td->SqlRec = rec;
}

void ReleaseSet(TableDef* td) {
  SqlRec* rec = static_cast<SqlRec*>(td->SqlRec);
  td->SqlRec = nullptr;
  if (rec == nullptr) return;
  {
    std::lock_guard<std::mutex> lock(SetsMutex());
    auto found = Sets().find(rec);
    if (found == Sets().end() || found->second.owner != td) return;
    Sets().erase(found);
  }
  FreeSet(rec);
}

void ReleaseSetsOn(SQLHDBC dbc) {
  std::map<const SqlRec*, SetEntry> gone;
  {
    std::lock_guard<std::mutex> lock(SetsMutex());
    for (auto it = Sets().begin(); it != Sets().end();) {
      if (it->second.dbc == dbc) {
        gone.insert(*it);
        it = Sets().erase(it);
      } else {
        ++it;
      }
    }
  }
  for (auto& [rec, entry] : gone) {
    if (entry.owner->SqlRec == rec) entry.owner->SqlRec = nullptr;
    FreeSet(const_cast<SqlRec*>(rec));
  }
}

namespace {

// td's set when it describes td and, given dbc, was prepared on it.
SqlRec* FindSet(const TableDef* td, const SQLHDBC* dbc) {
  auto* rec = static_cast<SqlRec*>(td->SqlRec);
  if (rec == nullptr) return nullptr;
  std::lock_guard<std::mutex> lock(SetsMutex());
  auto found = Sets().find(rec);
  if (found == Sets().end() || !found->second.Describes(td)) return nullptr;
  return dbc == nullptr || found->second.dbc == *dbc ? rec : nullptr;
}

}  // namespace

SqlRec* OwnSet(const TableDef* td) {
  auto* rec = static_cast<SqlRec*>(td->SqlRec);
  if (rec == nullptr) return nullptr;
  std::lock_guard<std::mutex> lock(SetsMutex());
  auto found = Sets().find(rec);
  return found != Sets().end() && found->second.owner == td ? rec : nullptr;
}

SqlRec* CurrentSet(const TableDef* td) { return FindSet(td, nullptr); }

SqlRec* UsableSet(const TableDef* td, SQLHDBC dbc) {
  if (ExSQL_Enabled == 0 || td->ExLevel < 2) return nullptr;
  return FindSet(td, &dbc);
}

}  // namespace lerv32
