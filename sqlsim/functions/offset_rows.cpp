// tsql_offset_rows(n), tsql_fetch_rows(m): the row counts of OFFSET and
// FETCH, checked when the statement runs, as variables and markers may hold
// them.
#include "sqlsim/functions/builtins.h"

namespace sqlsim::builtins {

Outcome OffsetRows(const Args& args) {
  Outcome rows = IntegerArgument(args[0]);
  if (!rows.ok()) return rows;
  if (rows.value.IsNull() || rows.value.integer < 0) {
    return Outcome::Error(10742, "The offset specified in a OFFSET clause may not be negative.");
  }
  return rows;
}

Outcome FetchRows(const Args& args) {
  Outcome rows = IntegerArgument(args[0]);
  if (!rows.ok()) return rows;
  if (rows.value.IsNull() || rows.value.integer <= 0) {
    return Outcome::Error(10744, "The number of rows provided for a FETCH clause must be greater then zero.");
  }
  return rows;
}

}  // namespace sqlsim::builtins
