// TRY_CAST and TRY_CONVERT: a value that does not convert gives NULL; a
// conversion the server never allows (529) or a bad style stays an error.
#include "sqlsim/functions/builtins.h"

namespace sqlsim::builtins {

namespace {

bool FailsOnTheValue(int32_t error) {
  switch (error) {
    case 241: case 242:              // no date, or out of range
    case 245: case 8114:             // not a number
    case 220: case 232: case 244: case 248: case 8115:  // overflow
      return true;
    default:
      return false;
  }
}

}  // namespace

Outcome TryConvert(const Args& args) {
  Outcome converted = Convert(args);
  if (converted.ok() || !FailsOnTheValue(converted.error)) return converted;
  return Outcome::Of(Value::Null());
}

}  // namespace sqlsim::builtins
