#include "bench/record_hand_loops.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace bench {
namespace {

constexpr int kFields = 10;
const char* const kNames[] = {"Meier", "O'Neill", "Schmidt", "Becker"};
const char* const kTowns[] = {"BONN", "KOELN", "ESSEN", "ULM", "HAMBURG"};

template <size_t N>
void Pad(char (&field)[N], const std::string& text) {
  std::memset(field, ' ', N - 1);
  std::memcpy(field, text.data(), text.size() < N - 1 ? text.size() : N - 1);
  field[N - 1] = '\0';
}

// Two numbers with two digits after the point.
std::string Decimal(int whole, int cents) {
  char text[32];
  std::snprintf(text, sizeof text, "%d.%02d", whole, cents);
  return text;
}

SQLCHAR* Text(char* sql) { return reinterpret_cast<SQLCHAR*>(sql); }

// The record's fields as parameters 1 to 10, each sent whole: the length
// of every value is its size, text included.
bool BindRecord(SQLHSTMT h, const HandRecord& r, SQLLEN (&lengths)[kFields]) {
  struct Param {
    SQLSMALLINT c_type, sql_type;
    SQLULEN size;
    SQLSMALLINT scale;
    const void* value;
  };
  const Param params[kFields] = {
      {SQL_C_CHAR, SQL_CHAR, 20, 0, r.name},        {SQL_C_LONG, SQL_INTEGER, 4, 0, &r.nr},
      {SQL_C_CHAR, SQL_CHAR, 15, 0, r.ort},         {SQL_C_DOUBLE, SQL_DOUBLE, 8, 2, &r.betrag},
      {SQL_C_TIMESTAMP, SQL_TIMESTAMP, sizeof(TIMESTAMP_STRUCT), 0, &r.datum},
      {SQL_C_UTINYINT, SQL_TINYINT, 1, 0, &r.aktiv}, {SQL_C_LONG, SQL_INTEGER, 4, 0, &r.menge},
      {SQL_C_CHAR, SQL_CHAR, 30, 0, r.notiz},       {SQL_C_DOUBLE, SQL_DOUBLE, 8, 2, &r.rabatt},
      {SQL_C_CHAR, SQL_CHAR, 6, 0, r.code}};
  for (int i = 0; i < kFields; ++i) {
    const Param& p = params[i];
    lengths[i] = static_cast<SQLLEN>(p.size);
    if (!SQL_SUCCEEDED(SQLBindParameter(h, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, p.c_type, p.sql_type,
                                        p.size, p.scale, const_cast<void*>(p.value), lengths[i], &lengths[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

const std::vector<std::string>& RecordDefinitionLines() {
  static const std::vector<std::string> lines = {
      "ALIAS=RECB",       "FIELD=NAME,C,20",  "FIELD=NR,N,8",   "FIELD=ORT,u,15",     "FIELD=BETRAG,N,10,2",
      "FIELD=DATUM,D",    "FIELD=AKTIV,L",    "FIELD=MENGE,l",  "FIELD=NOTIZ,C,30",   "FIELD=RABATT,N,5,2",
      "FIELD=CODE,C,6",   "KEY=NAME_KEY,NAME,NR"};
  return lines;
}

std::vector<std::string> SampleTexts(int i, int variant) {
  const int v = i + variant;
  char name[32], date[16], note[48], code[16];
  std::snprintf(name, sizeof name, "%s %04d", kNames[i % 4], i * 7919 % 2500);
  std::snprintf(date, sizeof date, "20%02d-%02d-%02d", v % 25, v % 12 + 1, v % 28 + 1);
  std::snprintf(note, sizeof note, "Notiz %d v%d", i, variant);
  std::snprintf(code, sizeof code, "C%05d", v % 100000);
  return {name, std::to_string(i), kTowns[v % 5], Decimal((i * 37 + variant) % 100000, v % 100), date,
          v % 2 != 0 ? "1" : "0", std::to_string(i * 3 - 5000 + variant), note, Decimal(v % 100, i * 7 % 100), code};
}

HandRecord SampleHandRecord(int i, int variant) {
  const std::vector<std::string> t = SampleTexts(i, variant);
  HandRecord r{};
  Pad(r.name, t[0]);
  r.nr = std::atoi(t[1].c_str());
  Pad(r.ort, t[2]);
  r.betrag = std::strtod(t[3].c_str(), nullptr);
  int year = 0, month = 0, day = 0;
  std::sscanf(t[4].c_str(), "%d-%d-%d", &year, &month, &day);
  r.datum.year = static_cast<SQLSMALLINT>(year);
  r.datum.month = static_cast<SQLUSMALLINT>(month);
  r.datum.day = static_cast<SQLUSMALLINT>(day);
  r.aktiv = t[5] == "1" ? 1 : 0;
  r.menge = std::atoi(t[6].c_str());
  Pad(r.notiz, t[7]);
  r.rabatt = std::strtod(t[8].c_str(), nullptr);
  Pad(r.code, t[9]);
  return r;
}

bool SameValues(const HandRecord& a, const HandRecord& b) {
  auto near = [](double x, double y) { return x - y < 0.005 && y - x < 0.005; };
  return std::strcmp(a.name, b.name) == 0 && a.nr == b.nr && std::strcmp(a.ort, b.ort) == 0 &&
         near(a.betrag, b.betrag) && a.datum.year == b.datum.year && a.datum.month == b.datum.month &&
         a.datum.day == b.datum.day && a.aktiv == b.aktiv && a.menge == b.menge &&
         std::strcmp(a.notiz, b.notiz) == 0 && near(a.rabatt, b.rabatt) && std::strcmp(a.code, b.code) == 0;
}

HandLoops::HandLoops(SQLHDBC dbc, const std::string& table, const std::string& base)
    : dbc_(dbc), table_("[" + table + "]") {
  select_by_id_ = "SELECT [NAME],[NR],[ORT],[BETRAG],[DATUM],[AKTIV],[MENGE],[NOTIZ],[RABATT],[CODE] FROM " + table_ +
                  " WHERE RecId = ";
  select_proc_ = "EXECUTE [up_Sel_" + base + "] ";
  next_proc_ = "EXECUTE [up_Next_" + base + "_NAME_KEY] ";
  update_set_ = "UPDATE " + table_ +
                " SET [NAME]=?,[NR]=?,[ORT]=?,[BETRAG]=?,[DATUM]=?,[AKTIV]=?,[MENGE]=?,[NOTIZ]=?,[RABATT]=?,[CODE]=?"
                " WHERE RecId = ";
  update_proc_ = "EXECUTE [up_Upd_" + base + "] ";
  append_proc_ = "EXECUTE [up_Append_" + base + "] ?,?,?,?,?,?,?,?,?,?";
}

bool HandLoops::Read(const char* sql, HandRecord* r) {
  SQLHSTMT h = SQL_NULL_HSTMT;
  if (!SQL_SUCCEEDED(SQLAllocStmt(dbc_, &h))) return false;
  bool ok = SQL_SUCCEEDED(SQLPrepare(h, Text(const_cast<char*>(sql)), SQL_NTS));
  if (ok) {
    SQLSetStmtOption(h, SQL_BIND_TYPE, SQL_BIND_BY_COLUMN);
    ok = SQL_SUCCEEDED(SQLExecute(h));
  }
  SQLSMALLINT columns = 0;
  if (ok) SQLNumResultCols(h, &columns);
  ok = ok && columns == kFields && SQL_SUCCEEDED(SQLFetch(h));
  if (ok) {
    SQLLEN ind = 0;
    DATE_STRUCT date{};
    signed char aktiv = 0;
    SQLGetData(h, 1, SQL_C_CHAR, r->name, sizeof r->name, &ind);
    SQLGetData(h, 2, SQL_C_LONG, &r->nr, sizeof r->nr, &ind);
    SQLGetData(h, 3, SQL_C_CHAR, r->ort, sizeof r->ort, &ind);
    SQLGetData(h, 4, SQL_C_DOUBLE, &r->betrag, sizeof r->betrag, &ind);
    SQLGetData(h, 5, SQL_C_DATE, &date, sizeof date, &ind);
    SQLGetData(h, 6, SQL_C_TINYINT, &aktiv, sizeof aktiv, &ind);
    SQLGetData(h, 7, SQL_C_LONG, &r->menge, sizeof r->menge, &ind);
    SQLGetData(h, 8, SQL_C_CHAR, r->notiz, sizeof r->notiz, &ind);
    SQLGetData(h, 9, SQL_C_DOUBLE, &r->rabatt, sizeof r->rabatt, &ind);
    SQLGetData(h, 10, SQL_C_CHAR, r->code, sizeof r->code, &ind);
    r->datum = TIMESTAMP_STRUCT{date.year, date.month, date.day, 0, 0, 0, 0};
    r->aktiv = static_cast<unsigned char>(aktiv);
  }
  SQLFreeStmt(h, SQL_DROP);
  return ok;
}

bool HandLoops::ReadPlain(int32_t rec_id, HandRecord* out) {
  char sql[256];
  std::snprintf(sql, sizeof sql, "%s%ld", select_by_id_.c_str(), static_cast<long>(rec_id));
  return Read(sql, out);
}

bool HandLoops::ReadProcedure(int32_t rec_id, HandRecord* out) {
  char sql[128];
  std::snprintf(sql, sizeof sql, "%s%ld", select_proc_.c_str(), static_cast<long>(rec_id));
  return Read(sql, out);
}

int32_t HandLoops::SingleRecId(const char* sql) {
  SQLHSTMT h = SQL_NULL_HSTMT;
  if (!SQL_SUCCEEDED(SQLAllocStmt(dbc_, &h))) return 0;
  SQLINTEGER rec_id = 0;
  SQLLEN ind = SQL_NULL_DATA;
  if (SQL_SUCCEEDED(SQLExecDirect(h, Text(const_cast<char*>(sql)), SQL_NTS))) {
    SQLSMALLINT columns = 0;
    SQLNumResultCols(h, &columns);
    if (columns == 1 && SQL_SUCCEEDED(SQLFetch(h))) SQLGetData(h, 1, SQL_C_LONG, &rec_id, sizeof rec_id, &ind);
  }
  SQLFreeStmt(h, SQL_DROP);
  return ind == SQL_NULL_DATA ? 0 : rec_id;
}

int32_t HandLoops::NextProcedure(int32_t rec_id) {
  char sql[128];
  std::snprintf(sql, sizeof sql, "%s%ld", next_proc_.c_str(), static_cast<long>(rec_id));
  return SingleRecId(sql);
}

// The first record after rec_id, compared with the values of its own row:
// same NAME and NR with a higher RecId, same NAME with a higher NR, a higher
// NAME.
int32_t HandLoops::NextPlain(int32_t rec_id) {
  const std::string head =
      "SELECT TOP 1 t.RecId FROM " + table_ + " t," + table_ + " c WHERE c.RecId = " + std::to_string(rec_id) + " AND ";
  const char* const order = " ORDER BY t.[NAME],t.[NR],t.RecId";
  for (const char* step : {"t.[NAME] = c.[NAME] AND t.[NR] = c.[NR] AND t.RecId > c.RecId",
                           "t.[NAME] = c.[NAME] AND t.[NR] > c.[NR]", "t.[NAME] > c.[NAME]"}) {
    if (int32_t found = SingleRecId((head + step + order).c_str())) return found;
  }
  return 0;
}

bool HandLoops::Update(const char* sql, const HandRecord& record) {
  SQLHSTMT h = SQL_NULL_HSTMT;
  if (!SQL_SUCCEEDED(SQLAllocStmt(dbc_, &h))) return false;
  bool ok = SQL_SUCCEEDED(SQLPrepare(h, Text(const_cast<char*>(sql)), SQL_NTS));
  SQLLEN lengths[kFields];
  if (ok) {
    SQLSetStmtOption(h, SQL_BIND_TYPE, SQL_BIND_BY_COLUMN);
    const SQLRETURN rc = BindRecord(h, record, lengths) ? SQLExecute(h) : SQL_ERROR;
    ok = SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA;
  }
  SQLFreeStmt(h, SQL_DROP);
  return ok;
}

bool HandLoops::UpdatePlain(int32_t rec_id, const HandRecord& record) {
  char sql[256];
  std::snprintf(sql, sizeof sql, "%s%ld", update_set_.c_str(), static_cast<long>(rec_id));
  return Update(sql, record);
}

bool HandLoops::UpdateProcedure(int32_t rec_id, const HandRecord& record) {
  char sql[256];
  std::snprintf(sql, sizeof sql, "%s%ld,?,?,?,?,?,?,?,?,?,?", update_proc_.c_str(), static_cast<long>(rec_id));
  return Update(sql, record);
}

// Highest RecId plus one inserted blank, then filled by the UPDATE.
int32_t HandLoops::AppendPlain(const HandRecord& record) {
  SQLHSTMT h = SQL_NULL_HSTMT;
  if (!SQL_SUCCEEDED(SQLAllocStmt(dbc_, &h))) return 0;
  std::string sql = "SELECT TOP 1 RecId FROM " + table_ + " ORDER BY RecId DESC";
  SQLINTEGER highest = 0;
  SQLLEN ind = 0;
  bool ok = SQL_SUCCEEDED(SQLExecDirect(h, Text(sql.data()), SQL_NTS));
  const SQLRETURN fetched = ok ? SQLFetch(h) : SQL_ERROR;
  if (SQL_SUCCEEDED(fetched)) ok = SQL_SUCCEEDED(SQLGetData(h, 1, SQL_C_LONG, &highest, sizeof highest, &ind));
  else ok = fetched == SQL_NO_DATA;
  SQLFreeStmt(h, SQL_DROP);
  if (!ok) return 0;
  const int32_t rec_id = highest + 1;
  SQLSetConnectOption(dbc_, SQL_AUTOCOMMIT, SQL_AUTOCOMMIT_ON);
  if (!SQL_SUCCEEDED(SQLAllocStmt(dbc_, &h))) return 0;
  char insert[128];
  std::snprintf(insert, sizeof insert, "INSERT INTO %s (RecId) VALUES (%ld)", table_.c_str(),
                static_cast<long>(rec_id));
  ok = SQL_SUCCEEDED(SQLExecDirect(h, Text(insert), SQL_NTS));
  SQLFreeStmt(h, SQL_DROP);
  return ok && UpdatePlain(rec_id, record) ? rec_id : 0;
}

int32_t HandLoops::AppendProcedure(const HandRecord& record) {
  SQLHSTMT h = SQL_NULL_HSTMT;
  if (!SQL_SUCCEEDED(SQLAllocStmt(dbc_, &h))) return 0;
  SQLLEN lengths[kFields];
  SQLINTEGER rec_id = 0;
  SQLLEN ind = SQL_NULL_DATA;
  if (SQL_SUCCEEDED(SQLPrepare(h, Text(append_proc_.data()), SQL_NTS))) {
    SQLSetStmtOption(h, SQL_BIND_TYPE, SQL_BIND_BY_COLUMN);
    if (BindRecord(h, record, lengths) && SQL_SUCCEEDED(SQLExecute(h))) {
      SQLSMALLINT columns = 0;
      SQLNumResultCols(h, &columns);
      if (columns == 1 && SQL_SUCCEEDED(SQLFetch(h))) SQLGetData(h, 1, SQL_C_LONG, &rec_id, sizeof rec_id, &ind);
    }
  }
  SQLFreeStmt(h, SQL_DROP);
  return ind == SQL_NULL_DATA ? 0 : rec_id;
}

}  // namespace bench
