// The key search through up_FindF_/up_FindL_. With key tables they compare
// the composed key value, so the value is sent composed as the triggers
// compose it; but they take it as a LIKE pattern, so a value holding a
// wildcard is searched plain. The direct form compares each column with the
// value's bytes at the field's place and width: text, which a number or
// date column cannot be given exactly, so such keys are searched plain.
#include <algorithm>

#include "fields/field_values.h"
#include "frame/odbc_errors.h"
#include "frame/odbc_trace.h"
#include "records/key_search.h"
#include "records/navigation.h"
#include "frame/odbc_handles.h"
#include "schema/key_composition.h"
#include "schema/type_mapping.h"

#include <sqlext.h>

namespace lerv32 {
namespace {

std::optional<std::string> ComposedText(const KeyCover& cover) {
  std::string text;
  for (const CoveredField& covered : cover.fields) {
    text += covered.Whole() ? KeyPartText(*covered.field, covered.bytes) : SqlTextPrefix(covered.bytes, covered.length);
  }
  if (text.find_first_of("%_[") != std::string::npos) return std::nullopt;
  return text;
}

std::optional<std::string> DirectText(const KeyCover& cover) {
  std::string text;
  for (const CoveredField& covered : cover.fields) {
    if (ValueClassOf(*covered.field) != kText) return std::nullopt;
    text += SqlTextPrefix(covered.bytes, covered.length);
  }
  return text;
}

}  // namespace

std::optional<std::string> ProcedureSearchText(const KeyCover& cover) {
  std::optional<std::string> text = cover.td->UseKeyTable != 0 ? ComposedText(cover) : DirectText(cover);
  // A composed value may grow past the parameter's width.
  if (text && text->size() > static_cast<size_t>(kFindKeyWidth)) return std::nullopt;
  return text;
}

int32_t FindByProcedure(SQLHDBC dbc, const KeyCover& cover, const std::string& text, bool last) {
  std::string sql = "EXECUTE " + KeyProcedureName(last ? "up_FindL_" : "up_FindF_", cover.td, cover.key) + " ?," +
                    std::to_string(text.size());
  OdbcStatement stmt(dbc);
  if (!stmt.ok()) {
    OdbcReportErrors(dbc, SQL_NULL_HSTMT, 0);
    return 0;
  }
  SQLHSTMT h = stmt.get();
  std::string value = text;
  SQLLEN length = static_cast<SQLLEN>(value.size());
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLPrepare, h, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS)) ||
      !SQL_SUCCEEDED(ODBC_CALL(SQLBindParameter, h, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_CHAR,
                               static_cast<SQLULEN>(value.size()), 0, value.data(), length, &length)) ||
      !SQL_SUCCEEDED(ODBC_CALL(SQLExecute, h))) {
    OdbcReportErrors(dbc, h, 0);
    return 0;
  }
  bool failed = false;
  const int32_t rec_id = ReadSingleRecId(h, &failed);
  if (failed) OdbcReportErrors(dbc, h, 0);
  return rec_id;
}

}  // namespace lerv32
