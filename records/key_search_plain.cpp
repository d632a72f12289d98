// The plain key search: text fields compared as text (a partly covered one
// with LIKE, its wildcards escaped), numbers by their value, bound as
// parameters the way the write path sends them, so that a search value made
// from a record matches that record as it was stored; dates by their day,
// as the key tables compose them, so a time of day another program wrote
// does not hide a record. A key filter applies as the procedures apply it.
#include <cstdio>
#include <memory>

#include "fields/field_values.h"
#include "frame/odbc_errors.h"
#include "frame/odbc_trace.h"
#include "records/key_search.h"
#include "records/navigation.h"
#include "frame/odbc_handles.h"
#include "records/sql_names.h"
#include "records/write_record.h"
#include "schema/type_mapping.h"

#include <sqlext.h>

namespace lerv32 {
namespace {

constexpr char kLikeEscape = '!';

// "'<prefix>%' ESCAPE '!'" of the first length bytes of a text field.
std::string LikePrefix(const char* p, int length) {
  std::string pattern = "'";
  for (char c : SqlTextPrefix(p, length)) {
    if (c == '%' || c == '_' || c == '[' || c == kLikeEscape) pattern += kLikeEscape;
    pattern += c;
    if (c == '\'') pattern += '\'';
  }
  return pattern + "%' ESCAPE '" + kLikeEscape + "'";
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::string DateTimeLiteral(int year, int month, int day) {
  char text[48];
  std::snprintf(text, sizeof text, "CONVERT(DATETIME,'%04d-%02d-%02d',120)", year, month, day);
  return text;
}

// The condition on column for the day of a D or o field (an empty date is
// stored as the first day of 1900); a date no record can hold matches none.
std::string SameDay(const std::string& column, const FieldDef& field, const char* p) {
  int32_t date = FitsWidth(field.Type, field.Len) ? DateFromField(field.Type, p) : 0;
  if (date == 0) date = 19000101;
  const int year = date / 10000, month = date / 100 % 100, day = date % 100;
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return "1 = 0";
  std::string condition = column + " >= " + DateTimeLiteral(year, month, day);
  if (day < DaysInMonth(year, month)) return condition + " AND " + column + " < " + DateTimeLiteral(year, month, day + 1);
  if (month < 12) return condition + " AND " + column + " < " + DateTimeLiteral(year, month + 1, 1);
  if (year < 9999) return condition + " AND " + column + " < " + DateTimeLiteral(year + 1, 1, 1);
  return condition;
}

// The WHERE clause; the fields compared by value go into params in the
// order of their markers, at their offsets in the search value.
std::string Conditions(const KeyCover& cover, TableDef* params) {
  std::string where;
  for (const CoveredField& covered : cover.fields) {
    const FieldDef& field = *covered.field;
    const std::string column = QuoteSqlName(NameText(field.Name));
    where += where.empty() ? " WHERE " : " AND ";
    if (!covered.Whole()) {
      where += column + " LIKE " + LikePrefix(covered.bytes, covered.length);
    } else if (ValueClassOf(field) == kText) {
      where += column + " = " + TextLiteral(covered.bytes, covered.length);
    } else if (ValueClassOf(field) == kDate) {
      where += SameDay(column, field, covered.bytes);
    } else {
      FieldDef& param = params->Fields[params->FieldCnt++];
      param = field;
      param.Offset = static_cast<uint16_t>(covered.bytes - cover.fields.front().bytes);
      where += column + " = ?";
    }
  }
  return where;
}

}  // namespace

int32_t FindByPlainSql(SQLHDBC dbc, const KeyCover& cover, bool last) {
  auto params = std::make_unique<TableDef>();
  std::string sql = "SELECT TOP 1 RecId FROM " + KeyRows(cover.td, cover.key, "") + Conditions(cover, params.get());
  BuildKeyOrderBy(&sql, cover.td, cover.key, last);
  OdbcStatement stmt(dbc);
  if (!stmt.ok()) {
    OdbcReportErrors(dbc, SQL_NULL_HSTMT, 0);
    return 0;
  }
  SQLHSTMT h = stmt.get();
  RecordParams values;
  PrepareRecordParams(params.get(), &values);
  if (!BindRecordParams(h, &values, params.get(), cover.fields.front().bytes) ||
      !SQL_SUCCEEDED(ODBC_CALL(SQLExecDirect, h, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS))) {
    OdbcReportErrors(dbc, h, 0);
    return 0;
  }
  bool failed = false;
  const int32_t rec_id = ReadSingleRecId(h, &failed);
  if (failed) OdbcReportErrors(dbc, h, 0);
  return rec_id;
}

}  // namespace lerv32
