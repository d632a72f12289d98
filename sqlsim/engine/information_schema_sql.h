// The INFORMATION_SCHEMA views as data: each column's name, server type and
// SQLite expression, and the FROM clause the expressions read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sqlsim/engine/engine.h"

namespace sqlsim::infoschema {

struct ViewColumn {
  std::string name;
  SqlType type;
  int32_t length;  // varchar length; 0 for other types
  std::string sql;
};

struct ViewDef {
  std::string name;  // as the server spells it: TABLES, COLUMNS ...
  std::vector<ViewColumn> columns;
  std::string from;  // FROM ... WHERE ...
};

const std::vector<ViewDef>& ViewDefs();

// The SQLite view behind INFORMATION_SCHEMA.<name>.
std::string SqliteViewName(const std::string& name);

// Type columns of a syscolumns row aliased `c`.
std::string DataType(const std::string& c);
std::string MaximumLength(const std::string& c);
std::string NumericPrecision(const std::string& c);
std::string NumericRadix(const std::string& c);
std::string NumericScale(const std::string& c);
std::string DatetimePrecision(const std::string& c);
std::string CharacterSet(const std::string& c);
std::string Collation(const std::string& c);

}  // namespace sqlsim::infoschema
