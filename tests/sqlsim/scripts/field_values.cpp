#include "tests/sqlsim/scripts/field_values.h"

#include <cmath>
#include <cstdlib>

namespace scripts {
namespace {

bool ParseDouble(const std::string& text, double* value) {
  char* end = nullptr;
  *value = std::strtod(text.c_str(), &end);
  return !text.empty() && *end == '\0';
}

::testing::AssertionResult FieldMatches(const FieldDef& field, const std::string& actual,
                                        const std::string& expected) {
  switch (FieldKind(field)) {
    case Kind::kText:
      if (actual == PadRight(RightTrim(expected), field.Len)) return ::testing::AssertionSuccess();
      break;
    case Kind::kInteger:
      if (actual == expected) return ::testing::AssertionSuccess();
      break;
    case Kind::kFloat: {
      double a = 0;
      double e = 0;
      if (ParseDouble(actual, &a) && ParseDouble(expected, &e) &&
          std::fabs(a - e) <= 1e-9 * std::fmax(1.0, std::fabs(e))) {
        return ::testing::AssertionSuccess();
      }
      break;
    }
    case Kind::kDate:
      if (actual.size() >= 19 && actual.compare(0, 19, expected, 0, 19) == 0) return ::testing::AssertionSuccess();
      break;
  }
  return ::testing::AssertionFailure() << field.Name << ": '" << actual << "', expected '" << expected << "'";
}

}  // namespace

Kind FieldKind(const FieldDef& field) {
  switch (field.Type) {
    case 'C':
    case 'c':
    case 'u':
      return Kind::kText;
    case 'D':
    case 'o':
      return Kind::kDate;
    case 'd':
    case 'n':
      return Kind::kFloat;
    case 'N':
      return field.Dec > 0 ? Kind::kFloat : Kind::kInteger;
    default:
      return Kind::kInteger;
  }
}

std::vector<Param> FieldParams(const TableDef& td, const std::vector<std::string>& values) {
  std::vector<Param> params;
  for (int32_t f = 0; f < td.FieldCnt && static_cast<std::size_t>(f) < values.size(); ++f) {
    Param p;
    p.text = values[f];
    switch (FieldKind(td.Fields[f])) {
      case Kind::kText:
        p.sql_type = SQL_CHAR;
        p.size = td.Fields[f].Len;
        break;
      case Kind::kInteger:
        p.sql_type = SQL_INTEGER;
        p.size = 10;
        break;
      case Kind::kFloat:
        p.sql_type = SQL_FLOAT;
        p.size = 15;
        break;
      case Kind::kDate:
        p.sql_type = SQL_TYPE_TIMESTAMP;
        p.size = 23;
        p.digits = 3;
        break;
    }
    params.push_back(p);
  }
  return params;
}

::testing::AssertionResult RowMatches(const TableDef& td, const std::vector<std::string>& row, std::size_t offset,
                                      const std::vector<std::string>& expected) {
  if (row.size() != offset + static_cast<std::size_t>(td.FieldCnt)) {
    return ::testing::AssertionFailure() << row.size() << " columns, expected " << offset + td.FieldCnt;
  }
  for (int32_t f = 0; f < td.FieldCnt; ++f) {
    ::testing::AssertionResult field = FieldMatches(td.Fields[f], row[offset + f], expected[f]);
    if (!field) return field;
  }
  return ::testing::AssertionSuccess();
}

std::string ExecuteWithMarkers(const std::string& procedure, const TableDef& td, int leading) {
  std::string sql = "EXECUTE [" + procedure + "]";
  const int markers = leading + td.FieldCnt;
  for (int i = 0; i < markers; ++i) sql += i == 0 ? " ?" : ",?";
  return sql;
}

std::string RightTrim(const std::string& s) {
  const std::size_t end = s.find_last_not_of(' ');
  return end == std::string::npos ? "" : s.substr(0, end + 1);
}

std::string PadRight(const std::string& s, std::size_t width) {
  return s.size() >= width ? s.substr(0, width) : s + std::string(width - s.size(), ' ');
}

}  // namespace scripts
