// The plain key search: text fields compared as text (a partly covered one
// with LIKE, its wildcards escaped), number and date fields by their value,
// bound as parameters the way the write path sends them, so that a search
// value made from a record matches that record as it was stored.
#include <memory>

#include "fields/field_values.h"
#include "frame/odbc_errors.h"
#include "frame/odbc_trace.h"
#include "records/key_search.h"
#include "records/navigation.h"
#include "records/odbc_statement.h"
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

// The WHERE clause; the fields compared by value go into params in the
// order of their markers, at their offsets in the search value.
std::string Conditions(const KeyCover& cover, TableDef* params) {
  std::string where;
  for (const CoveredField& covered : cover.fields) {
    const FieldDef& field = *covered.field;
    where += (where.empty() ? " WHERE " : " AND ") + QuoteSqlName(NameText(field.Name));
    if (!covered.Whole()) {
      where += " LIKE " + LikePrefix(covered.bytes, covered.length);
    } else if (ValueClassOf(field) == kText) {
      where += " = " + TextLiteral(covered.bytes, covered.length);
    } else {
      FieldDef& param = params->Fields[params->FieldCnt++];
      param = field;
      param.Offset = static_cast<uint16_t>(covered.bytes - cover.fields.front().bytes);
      where += " = ?";
    }
  }
  return where;
}

}  // namespace

int32_t FindByPlainSql(SQLHDBC dbc, const KeyCover& cover, bool last) {
  auto params = std::make_unique<TableDef>();
  std::string sql = "SELECT TOP 1 RecId FROM " + QuotedBaseName(cover.td) + Conditions(cover, params.get());
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
  return ReadSingleRecId(h);
}

}  // namespace lerv32
