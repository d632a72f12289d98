// tsql_offset_rows(n), tsql_fetch_rows(m): the row counts of OFFSET and
// FETCH; tsql_lag_offset(n), tsql_ntile_count(n): the rows LAG and LEAD
// look back or ahead and NTILE's groups. Checked when the statement runs,
// as variables and markers may hold them.
#include "sqlsim/functions/builtins.h"

namespace sqlsim::builtins {
namespace {

// The whole-number argument, or the error when it is below least or NULL
// (unless NULL may pass).
Outcome CountAtLeast(const Args& args, int64_t least, bool null_passes, int32_t number, const char* message) {
  Outcome n = IntegerArgument(args[0]);
  if (!n.ok()) return n;
  if (n.value.IsNull() ? !null_passes : n.value.integer < least) return Outcome::Error(number, message);
  return n;
}

}  // namespace

Outcome OffsetRows(const Args& args) {
  return CountAtLeast(args, 0, false, 10742, "The offset specified in a OFFSET clause may not be negative.");
}

Outcome FetchRows(const Args& args) {
  return CountAtLeast(args, 1, false, 10744,
                      "The number of rows provided for a FETCH clause must be greater then zero.");
}

Outcome LagOffset(const Args& args) {
  return CountAtLeast(args, 0, true, 8730, "Offset parameter for Lag and Lead functions cannot be a negative value.");
}

Outcome NtileCount(const Args& args) {
  return CountAtLeast(args, 1, false, 4116,
                      "The function 'ntile' takes only a positive int or bigint expression as its input.");
}

}  // namespace sqlsim::builtins
