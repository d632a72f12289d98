#include "bench/prepared_hand_loops.h"

#include <cstring>

namespace bench {

PreparedHandLoops::PreparedHandLoops(SQLHDBC dbc, const std::string& base) : dbc_(dbc) {
  read_ = Prepare("EXECUTE [up_Sel_" + base + "] ?");
  next_ = Prepare("EXECUTE [up_Next_" + base + "_NAME_KEY] ?");
  find_ = Prepare("EXECUTE [up_FindF_" + base + "_NAME_KEY] ?,?");
  append_ = Prepare("EXECUTE [up_Append_" + base + "] ?,?,?,?,?,?,?,?,?,?");
  update_ = Prepare("EXECUTE [up_Upd_" + base + "] ?,?,?,?,?,?,?,?,?,?,?");
  if (!ok_) return;
  auto param_id = [&](SQLHSTMT h, SQLINTEGER* value, SQLLEN* ind) {
    return SQL_SUCCEEDED(SQLBindParameter(h, 1, SQL_PARAM_INPUT, SQL_C_LONG, SQL_INTEGER, 4, 0, value, 4, ind));
  };
  auto column_id = [&](SQLHSTMT h, SQLINTEGER* value, SQLLEN* ind) {
    return SQL_SUCCEEDED(SQLBindCol(h, 1, SQL_C_LONG, value, 4, ind));
  };
  HandRecord& v = values_;
  struct Column {
    SQLSMALLINT c_type;
    void* value;
    SQLLEN size;
  } columns[10] = {{SQL_C_CHAR, v.name, sizeof v.name},   {SQL_C_LONG, &v.nr, 4},
                   {SQL_C_CHAR, v.ort, sizeof v.ort},     {SQL_C_DOUBLE, &v.betrag, 8},
                   {SQL_C_TIMESTAMP, &v.datum, sizeof v.datum}, {SQL_C_UTINYINT, &v.aktiv, 1},
                   {SQL_C_LONG, &v.menge, 4},             {SQL_C_CHAR, v.notiz, sizeof v.notiz},
                   {SQL_C_DOUBLE, &v.rabatt, 8},          {SQL_C_CHAR, v.code, sizeof v.code}};
  ok_ = param_id(read_, &rec_id_, &rec_id_ind_) && param_id(next_, &rec_id_, &rec_id_ind_) &&
        column_id(next_, &result_, &result_ind_) && column_id(find_, &result_, &result_ind_) &&
        param_id(update_, &rec_id_, &rec_id_ind_) && BindValues(update_, 2) && BindValues(append_, 1) &&
        column_id(append_, &result_, &result_ind_) &&
        SQL_SUCCEEDED(SQLBindParameter(find_, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_CHAR, 128, 0, key_, 128, &key_ind_)) &&
        SQL_SUCCEEDED(SQLBindParameter(find_, 2, SQL_PARAM_INPUT, SQL_C_LONG, SQL_INTEGER, 4, 0, &key_len_, 4,
                                       &key_len_ind_));
  for (int i = 0; ok_ && i < 10; ++i) {
    ok_ = SQL_SUCCEEDED(SQLBindCol(read_, static_cast<SQLUSMALLINT>(i + 1), columns[i].c_type, columns[i].value,
                                   columns[i].size, &lengths_[i]));
  }
}

PreparedHandLoops::~PreparedHandLoops() {
  for (SQLHSTMT h : {read_, next_, find_, append_, update_}) {
    if (h != SQL_NULL_HSTMT) SQLFreeStmt(h, SQL_DROP);
  }
}

SQLHSTMT PreparedHandLoops::Prepare(const std::string& sql) {
  SQLHSTMT h = SQL_NULL_HSTMT;
  if (!SQL_SUCCEEDED(SQLAllocStmt(dbc_, &h))) {
    ok_ = false;
    return SQL_NULL_HSTMT;
  }
  std::string text = sql;
  if (!SQL_SUCCEEDED(SQLPrepare(h, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS))) ok_ = false;
  return h;
}

// The record's fields as parameters first to first + 9, each sent whole.
bool PreparedHandLoops::BindValues(SQLHSTMT h, SQLUSMALLINT first) {
  HandRecord& v = values_;
  struct Param {
    SQLSMALLINT c_type, sql_type;
    SQLULEN size;
    SQLSMALLINT scale;
    void* value;
  } params[10] = {{SQL_C_CHAR, SQL_CHAR, 20, 0, v.name},        {SQL_C_LONG, SQL_INTEGER, 4, 0, &v.nr},
                  {SQL_C_CHAR, SQL_CHAR, 15, 0, v.ort},         {SQL_C_DOUBLE, SQL_DOUBLE, 8, 2, &v.betrag},
                  {SQL_C_TIMESTAMP, SQL_TIMESTAMP, sizeof(TIMESTAMP_STRUCT), 0, &v.datum},
                  {SQL_C_UTINYINT, SQL_TINYINT, 1, 0, &v.aktiv}, {SQL_C_LONG, SQL_INTEGER, 4, 0, &v.menge},
                  {SQL_C_CHAR, SQL_CHAR, 30, 0, v.notiz},       {SQL_C_DOUBLE, SQL_DOUBLE, 8, 2, &v.rabatt},
                  {SQL_C_CHAR, SQL_CHAR, 6, 0, v.code}};
  for (int i = 0; i < 10; ++i) {
    const Param& p = params[i];
    sizes_[i] = lengths_[i] = static_cast<SQLLEN>(p.size);
    if (!SQL_SUCCEEDED(SQLBindParameter(h, static_cast<SQLUSMALLINT>(first + i), SQL_PARAM_INPUT, p.c_type,
                                        p.sql_type, p.size, p.scale, p.value, lengths_[i], &lengths_[i]))) {
      return false;
    }
  }
  return true;
}

int32_t PreparedHandLoops::ExecuteRecId(SQLHSTMT h) {
  result_ = 0;
  const bool found = SQL_SUCCEEDED(SQLExecute(h)) && SQL_SUCCEEDED(SQLFetch(h));
  SQLFreeStmt(h, SQL_CLOSE);
  return found && result_ind_ != SQL_NULL_DATA ? result_ : 0;
}

bool PreparedHandLoops::Read(int32_t rec_id, HandRecord* out) {
  rec_id_ = rec_id;
  const bool found = SQL_SUCCEEDED(SQLExecute(read_)) && SQL_SUCCEEDED(SQLFetch(read_));
  SQLFreeStmt(read_, SQL_CLOSE);
  if (found) *out = values_;
  return found;
}

int32_t PreparedHandLoops::Next(int32_t rec_id) {
  rec_id_ = rec_id;
  return ExecuteRecId(next_);
}

int32_t PreparedHandLoops::FindFirst(const char* key, int len) {
  std::memset(key_, ' ', 128);
  std::memcpy(key_, key, static_cast<size_t>(len));
  key_len_ = len;
  return ExecuteRecId(find_);
}

int32_t PreparedHandLoops::Append(const HandRecord& record) {
  values_ = record;
  std::memcpy(lengths_, sizes_, sizeof lengths_);
  return ExecuteRecId(append_);
}

bool PreparedHandLoops::Update(int32_t rec_id, const HandRecord& record) {
  values_ = record;
  std::memcpy(lengths_, sizes_, sizeof lengths_);
  rec_id_ = rec_id;
  const SQLRETURN rc = SQLExecute(update_);
  SQLFreeStmt(update_, SQL_CLOSE);
  return SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA;
}

}  // namespace bench
