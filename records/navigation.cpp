#include "records/navigation.h"

#include <cstdio>
#include <cstring>

#include "fields/field_values.h"
#include "frame/export_guard.h"
#include "frame/odbc_errors.h"
#include "frame/odbc_handles.h"
#include "frame/odbc_trace.h"
#include "frame/settings.h"
#include "include/lebase32.h"
#include "frame/odbc_handles.h"
#include "records/read_record.h"
#include "records/sql_names.h"
#include "schema/generators.h"
#include "schema/key_fields.h"
#include "schema/type_mapping.h"
#include "tabledef/table_def.h"

#include <sqlext.h>

namespace lerv32 {
namespace {

std::string Decimal(int32_t value) { return std::to_string(value); }

bool KeyUsesProcedure(const TableDef* td, int key) { return key >= 0 && UsesProcedures(td); }

}  // namespace

bool Usable(LERV32_HDBC connection, const TableDef* td) {
  return PlausibleHandle(connection) && ValidTableDef(td);
}

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

std::string KeyRows(const TableDef* td, int key, const char* alias) {
  const std::string named = std::string(*alias != '\0' ? " " : "") + alias;
  if (key < 0 || td->UseKeyTable == 0 || !KeyHasFilter(td, key)) return QuotedBaseName(td) + named;
  std::string rows = "(SELECT * FROM " + QuotedBaseName(td) + " WHERE " + FilterToSql(td->KeyFilter[key]) + " = 1)";
  return rows + (*alias != '\0' ? named : " f");
}

std::string KeyProcedureName(const char* prefix, const TableDef* td, int key) {
  return QuoteSqlName(prefix + BaseNameOf(td) + "_" + std::string(NameText(td->Keys[key].Name)));
}

namespace {

int32_t FirstOrLast(SQLHDBC dbc, const TableDef* td, int key, bool last) {
  if (!ValidKey(td, key)) return 0;
  std::string sql;
  if (key < 0) {
    sql = "SELECT TOP 1 RecId FROM " + QuotedBaseName(td) + (last ? " ORDER BY RecId DESC" : " ORDER BY RecId");
  } else if (KeyUsesProcedure(td, key)) {
    sql = "EXECUTE " + KeyProcedureName(last ? "up_Last_" : "up_First_", td, key);
  } else {
    sql = "SELECT TOP 1 RecId FROM " + KeyRows(td, key, "");
    BuildKeyOrderBy(&sql, td, key, last);
  }
  return FetchSingleRecId(dbc, sql);
}

}  // namespace

int32_t NextOrPrior(SQLHDBC dbc, const TableDef* td, int key, int32_t rec_id, bool prior, bool* failed) {
  if (!ValidKey(td, key)) return 0;
  if (key < 0) {
    std::string sql = "SELECT TOP 1 RecId FROM " + QuotedBaseName(td) + " WHERE RecId " + (prior ? "< " : "> ") +
                      Decimal(rec_id) + (prior ? " ORDER BY RecId DESC" : " ORDER BY RecId");
    return FetchSingleRecId(dbc, sql, failed);
  }
  if (KeyUsesProcedure(td, key)) {
    return FetchSingleRecId(dbc, "EXECUTE " + KeyProcedureName(prior ? "up_Prior_" : "up_Next_", td, key) + " " +
                                     Decimal(rec_id), failed);
  }
  return StepByKeySql(dbc, td, key, rec_id, prior, failed);
}

namespace {

// " ORDER BY t.[A] DESC,t.[B] DESC,t.RecId DESC" with the qualifier "t.".
void AppendKeyOrderBy(std::string* out, const TableDef* td, int key, bool descending, const char* qualifier) {
  const KeyDef& k = td->Keys[key];
  const char* direction = descending ? " DESC" : "";
  *out += " ORDER BY ";
  for (int i = 0; i < k.TokenCnt && i < LERV32_MAX_KEY_FIELDS; ++i) {
    *out += qualifier + QuotedFieldName(td, k.TokenFieldNo[i]) + direction + ",";
  }
  *out += qualifier + std::string("RecId") + direction;
}

}  // namespace

int32_t FetchSingleRecId(SQLHDBC dbc, const std::string& sql, bool* failed) {
  bool local_failed = false;
  if (failed == nullptr) failed = &local_failed;
  OdbcStatement stmt(dbc);
  if (!stmt.ok()) {
    OdbcReportErrors(dbc, SQL_NULL_HSTMT, 0);
    *failed = true;
    return 0;
  }
  SQLHSTMT h = stmt.get();
  std::string text = sql;
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLExecDirect, h, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS))) {
    OdbcReportErrors(dbc, h, 0);
    *failed = true;
    return 0;
  }
  const int32_t rec_id = ReadSingleRecId(h, failed);
  if (*failed) OdbcReportErrors(dbc, h, 0);
  return rec_id;
}

int32_t ReadSingleRecId(SQLHSTMT stmt, bool* failed) {
  bool local_failed = false;
  if (failed == nullptr) failed = &local_failed;
  SQLSMALLINT columns = 0;
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLNumResultCols, stmt, &columns))) {
    *failed = true;
    return 0;
  }
  if (columns != 1) return 0;
  const SQLRETURN fetched = ODBC_CALL(SQLFetch, stmt);
  if (fetched == SQL_NO_DATA) return 0;
  SQLINTEGER rec_id = 0;
  SQLLEN indicator = 0;
  if (!SQL_SUCCEEDED(fetched) ||
      !SQL_SUCCEEDED(ODBC_CALL(SQLGetData, stmt, 1, SQL_C_LONG, &rec_id, sizeof rec_id, &indicator))) {
    *failed = true;
    return 0;
  }
  return indicator == SQL_NULL_DATA ? 0 : rec_id;
}

void BuildKeyOrderBy(std::string* out, const TableDef* td, int key, bool descending) {
  AppendKeyOrderBy(out, td, key, descending, "");
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

// Rows another program wrote may hold NULL in a key column: NULL equals NULL
// and sorts below every value, as the server orders them.
std::string SameValue(const std::string& column) {
  const std::string t = "t." + column, c = "c." + column;
  return "(" + t + " = " + c + " OR (" + t + " IS NULL AND " + c + " IS NULL))";
}

std::string FurtherValue(const std::string& column, bool prior) {
  const std::string t = "t." + column, c = "c." + column;
  const std::string& lower = prior ? t : c;
  const std::string& upper = prior ? c : t;
  return "(" + t + (prior ? " < " : " > ") + c + " OR (" + lower + " IS NULL AND " + upper + " IS NOT NULL))";
}

// The current row c is joined by its RecId, so every comparison is between
// the server's own values: a value the record buffer cannot hold exactly
// (fractions of a d key, dates before 1900, text outside the OEM code page)
// still compares as the key's order sorts it. The cascade is the one of the
// generated up_Next_/up_Prior_: same key and a further RecId first, then a
// further value of ever fewer leading fields.
int32_t StepByKeySql(SQLHDBC dbc, const TableDef* td, int key, int32_t rec_id, bool prior, bool* failed) {
  bool local_failed = false;
  if (failed == nullptr) failed = &local_failed;
  const KeyDef& k = td->Keys[key];
  const int n = k.TokenCnt < LERV32_MAX_KEY_FIELDS ? k.TokenCnt : LERV32_MAX_KEY_FIELDS;
  const std::string object = QuotedBaseName(td);
  std::string order;
  AppendKeyOrderBy(&order, td, key, prior, "t.");
  for (int m = n; m >= 0; --m) {
    std::string sql = "SELECT TOP 1 t.RecId FROM " + KeyRows(td, key, "t") + "," + object + " c WHERE c.RecId = " +
                      Decimal(rec_id);
    for (int j = 0; j < m; ++j) sql += " AND " + SameValue(QuotedFieldName(td, k.TokenFieldNo[j]));
    sql += " AND " + (m < n ? FurtherValue(QuotedFieldName(td, k.TokenFieldNo[m]), prior)
                            : std::string("t.RecId") + (prior ? " < " : " > ") + "c.RecId");
    sql += order;
    if (int32_t found = FetchSingleRecId(dbc, sql, failed)) return found;
    if (*failed) return 0;
  }
  return 0;
}

}  // namespace lerv32

extern "C" {

int32_t LERV32_CALL rv_OdbcFirstRecId(LERV32_HDBC connection, const TableDef* td, int32_t key) {
  return lerv32::GuardedOn<int32_t>(connection, 0, [&] {
    if (!lerv32::Usable(connection, td)) return 0;
    return lerv32::FirstOrLast(static_cast<SQLHDBC>(connection), td, key, false);
  });
}

int32_t LERV32_CALL rv_OdbcLastRecId(LERV32_HDBC connection, const TableDef* td, int32_t key) {
  return lerv32::GuardedOn<int32_t>(connection, 0, [&] {
    if (!lerv32::Usable(connection, td)) return 0;
    return lerv32::FirstOrLast(static_cast<SQLHDBC>(connection), td, key, true);
  });
}

int32_t LERV32_CALL rv_OdbcNextRecId(LERV32_HDBC connection, const TableDef* td, int32_t key, int32_t rec_id) {
  return lerv32::GuardedOn<int32_t>(connection, 0, [&] {
    if (!lerv32::Usable(connection, td)) return 0;
    return lerv32::NextOrPrior(static_cast<SQLHDBC>(connection), td, key, rec_id, false);
  });
}

int32_t LERV32_CALL rv_OdbcPriorRecId(LERV32_HDBC connection, const TableDef* td, int32_t key, int32_t rec_id) {
  return lerv32::GuardedOn<int32_t>(connection, 0, [&] {
    if (!lerv32::Usable(connection, td)) return 0;
    return lerv32::NextOrPrior(static_cast<SQLHDBC>(connection), td, key, rec_id, true);
  });
}

}  // extern "C"
