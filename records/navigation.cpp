#include "records/navigation.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "fields/field_values.h"
#include "frame/export_guard.h"
#include "frame/odbc_errors.h"
#include "frame/odbc_trace.h"
#include "frame/settings.h"
#include "include/lebase32.h"
#include "records/odbc_statement.h"
#include "records/read_record.h"
#include "schema/type_mapping.h"
#include "tabledef/table_def.h"

#include <sqlext.h>

namespace lerv32 {
namespace {

std::string Decimal(int32_t value) { return std::to_string(value); }

bool KeyUsesProcedure(const TableDef* td, int key) { return key >= 0 && UsesProcedures(td); }

// A key of td whose fields all exist (a definition may be garbage).
bool ValidKey(const TableDef* td, int key) {
  if (key >= td->KeyCnt || key >= LERV32_MAX_KEYS || td->FieldCnt < 0 || td->FieldCnt > LERV32_MAX_FIELDS) {
    return false;
  }
  if (key < 0) return true;
  const KeyDef& k = td->Keys[key];
  if (k.TokenCnt > LERV32_MAX_KEY_FIELDS) return false;
  for (int i = 0; i < k.TokenCnt; ++i) {
    if (k.TokenFieldNo[i] >= td->FieldCnt) return false;
  }
  return true;
}

std::string TextLiteral(const char* p, int w) {
  std::string literal = "'";
  for (int i = 0; i < w && p[i] != '\0'; ++i) {
    literal += p[i];
    if (p[i] == '\'') literal += '\'';
  }
  // Trailing blanks go, but never the first character after the quote.
  while (literal.size() > 2 && literal.back() == ' ') literal.pop_back();
  literal += '\'';
  if (OemConvert != 0) OemToCharA(literal.c_str(), literal.data());
  return literal;
}

int32_t FirstOrLast(SQLHDBC dbc, const TableDef* td, int key, bool last) {
  if (!ValidKey(td, key)) return 0;
  std::string sql;
  if (key < 0) {
    sql = "SELECT TOP 1 RecId FROM [" + BaseNameOf(td) + (last ? "] ORDER BY RecId DESC" : "] ORDER BY RecId");
  } else if (KeyUsesProcedure(td, key)) {
    sql = std::string(last ? "EXECUTE [up_Last_" : "EXECUTE [up_First_") + BaseNameOf(td) + "_" + td->Keys[key].Name + "]";
  } else {
    sql = "SELECT TOP 1 RecId FROM [" + BaseNameOf(td) + "]";
    BuildKeyOrderBy(&sql, td, key, last);
  }
  return FetchSingleRecId(dbc, sql);
}

int32_t NextOrPrior(SQLHDBC dbc, const TableDef* td, int key, int32_t rec_id, bool prior) {
  if (!ValidKey(td, key)) return 0;
  if (key < 0) {
    std::string sql = "SELECT TOP 1 RecId FROM [" + BaseNameOf(td) + "] WHERE RecId " + (prior ? "< " : "> ") +
                      Decimal(rec_id) + (prior ? " ORDER BY RecId DESC" : " ORDER BY RecId");
    return FetchSingleRecId(dbc, sql);
  }
  if (KeyUsesProcedure(td, key)) {
    std::string sql = std::string(prior ? "EXECUTE [up_Prior_" : "EXECUTE [up_Next_") + BaseNameOf(td) + "_" +
                      td->Keys[key].Name + "] " + Decimal(rec_id);
    return FetchSingleRecId(dbc, sql);
  }
  return StepByKeySql(dbc, td, key, rec_id, prior);
}

}  // namespace

int32_t FetchSingleRecId(SQLHDBC dbc, const std::string& sql) {
  OdbcStatement stmt(dbc);
  if (!stmt.ok()) {
    OdbcReportErrors(dbc, SQL_NULL_HSTMT, 0);
    return 0;
  }
  SQLHSTMT h = stmt.get();
  std::string text = sql;
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLExecDirect, h, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS))) {
    OdbcReportErrors(dbc, h, 0);
    return 0;
  }
  return ReadSingleRecId(h);
}

int32_t ReadSingleRecId(SQLHSTMT stmt) {
  SQLSMALLINT columns = 0;
  ODBC_CALL(SQLNumResultCols, stmt, &columns);
  if (columns != 1 || !SQL_SUCCEEDED(ODBC_CALL(SQLFetch, stmt))) return 0;
  SQLINTEGER rec_id = 0;
  SQLLEN indicator = 0;
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLGetData, stmt, 1, SQL_C_LONG, &rec_id, sizeof rec_id, &indicator))) return 0;
  return indicator == SQL_NULL_DATA ? 0 : rec_id;
}

void BuildKeyOrderBy(std::string* out, const TableDef* td, int key, bool descending) {
  const KeyDef& k = td->Keys[key];
  *out += " ORDER BY ";
  for (int i = 0; i < k.TokenCnt && i < LERV32_MAX_KEY_FIELDS; ++i) {
    if (i) *out += ",";
    *out += td->Fields[k.TokenFieldNo[i]].Name;
    if (descending) *out += " DESC";
  }
  *out += descending ? ",RecId DESC" : ",RecId";
}

std::string FieldSqlLiteral(const TableDef* td, int field, const char* p) {
  const FieldDef& f = td->Fields[field];
  switch (ValueClassOf(f)) {
    case kInteger: {
      char text[32] = {};
      LongToString(text, FieldValueToLong(td, field, p), 10);
      return llstrtrim(text);
    }
    case kDouble: {
      char text[80] = {};
      double value = FieldValueToDouble(td, field, p);
      DoubleToString(text, value, 20, f.Dec);
      // A value too wide for 20 characters would be asterisks, no number.
      if (std::strchr(text, '*') != nullptr) DoubleToString(text, value, 0, f.Dec);
      std::string literal = llstrtrim(text);
      for (char& c : literal) {
        if (c == ',') c = '.';
      }
      return literal;
    }
    case kDate: {
      int32_t date = FieldValueToLong(td, field, p);
      if (date == 0) date = 19000101;
      char text[64];
      std::snprintf(text, sizeof text, "CONVERT(DATETIME,'%04ld-%02ld-%02ld',120)", static_cast<long>(date / 10000),
                    static_cast<long>(date / 100 % 100), static_cast<long>(date % 100));
      return text;
    }
    case kText:
      break;
  }
  return TextLiteral(p, f.Len);
}

void MakeKeyOnlyDef(const TableDef* td, int key, TableDef* out) {
  ClearTableDef(out);
  std::memcpy(out->TableName, td->TableName, sizeof out->TableName);
  const KeyDef& k = td->Keys[key];
  int offset = 0;
  for (int i = 0; i < k.TokenCnt && i < LERV32_MAX_KEY_FIELDS; ++i) {
    FieldDef f = td->Fields[k.TokenFieldNo[i]];
    f.Offset = static_cast<uint16_t>(offset);
    offset += f.Len;
    out->Fields[i] = f;
    out->Keys[0].TokenFieldNo[i] = static_cast<uint8_t>(i);
  }
  out->FieldCnt = k.TokenCnt;
  out->KeyCnt = 1;
  out->Keys[0].TokenCnt = k.TokenCnt;
  std::strcpy(out->Keys[0].Name, "Tmp");
  out->ExLevel = 0;
  out->UseMandant = 0;
}

int32_t StepByKeySql(SQLHDBC dbc, const TableDef* td, int key, int32_t rec_id, bool prior) {
  auto keys = std::make_unique<TableDef>();
  std::memset(keys.get(), 0, sizeof(TableDef));
  MakeKeyOnlyDef(td, key, keys.get());
  std::vector<char> record(static_cast<size_t>(RecordSize(keys.get())) + 1, ' ');
  if (rv_OdbcGetRecord(dbc, keys.get(), rec_id, record.data()) == 0) return 0;
  const int n = keys->FieldCnt;
  for (int m = n; m >= 0; --m) {
    std::string sql = std::string("SELECT TOP 1 RecId FROM ") + td->TableName + " WHERE ";
    for (int j = 0; j < m; ++j) {
      const FieldDef& f = keys->Fields[j];
      sql += std::string(j ? " AND " : "") + f.Name + " = " + FieldSqlLiteral(keys.get(), j, record.data() + f.Offset);
    }
    if (m < n) {
      const FieldDef& f = keys->Fields[m];
      sql += std::string(m > 0 ? " AND " : "") + f.Name + (prior ? " < " : " > ") +
             FieldSqlLiteral(keys.get(), m, record.data() + f.Offset);
    } else {
      sql += (prior ? " AND RecId < " : " AND RecId > ") + Decimal(rec_id);
    }
    BuildKeyOrderBy(&sql, keys.get(), 0, prior);
    if (int32_t found = FetchSingleRecId(dbc, sql)) return found;
  }
  return 0;
}

}  // namespace lerv32

extern "C" {

int32_t LERV32_CALL rv_OdbcFirstRecId(LERV32_HDBC connection, const TableDef* td, int32_t key) {
  return lerv32::Guarded<int32_t>(0, [&] {
    if (connection == nullptr || td == nullptr) return 0;
    return lerv32::FirstOrLast(static_cast<SQLHDBC>(connection), td, key, false);
  });
}

int32_t LERV32_CALL rv_OdbcLastRecId(LERV32_HDBC connection, const TableDef* td, int32_t key) {
  return lerv32::Guarded<int32_t>(0, [&] {
    if (connection == nullptr || td == nullptr) return 0;
    return lerv32::FirstOrLast(static_cast<SQLHDBC>(connection), td, key, true);
  });
}

int32_t LERV32_CALL rv_OdbcNextRecId(LERV32_HDBC connection, const TableDef* td, int32_t key, int32_t rec_id) {
  return lerv32::Guarded<int32_t>(0, [&] {
    if (connection == nullptr || td == nullptr) return 0;
    return lerv32::NextOrPrior(static_cast<SQLHDBC>(connection), td, key, rec_id, false);
  });
}

int32_t LERV32_CALL rv_OdbcPriorRecId(LERV32_HDBC connection, const TableDef* td, int32_t key, int32_t rec_id) {
  return lerv32::Guarded<int32_t>(0, [&] {
    if (connection == nullptr || td == nullptr) return 0;
    return lerv32::NextOrPrior(static_cast<SQLHDBC>(connection), td, key, rec_id, true);
  });
}

}  // extern "C"
