// tsql_offset_rows(n), tsql_fetch_rows(m): the row counts of OFFSET and
// FETCH; tsql_lag_offset(n), tsql_ntile_count(n): the rows LAG and LEAD
// look back or ahead and NTILE's groups. Checked when the statement runs,
// as variables and markers may hold them.
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

Outcome LagOffset(const Args& args) {
  Outcome rows = IntegerArgument(args[0]);
  if (rows.ok() && !rows.value.IsNull() && rows.value.integer < 0) {
    return Outcome::Error(8730, "Offset parameter for Lag and Lead functions cannot be a negative value.");
  }
  return rows;
}

Outcome NtileCount(const Args& args) {
  Outcome groups = IntegerArgument(args[0]);
  if (!groups.ok()) return groups;
  if (groups.value.IsNull() || groups.value.integer <= 0) {
    return Outcome::Error(4116, "The function 'ntile' takes only a positive int or bigint expression as its input.");
  }
  return groups;
}

}  // namespace sqlsim::builtins
