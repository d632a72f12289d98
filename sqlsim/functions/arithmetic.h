// + - * / % and unary minus with the server's rules: NULL in, NULL out;
// text + text concatenates; text meeting a number is read as that number;
// integers stay integers with overflow checked against int (both operands
// in its range) or bigint; a canonical datetime text plus or minus a number
// of days is a datetime.
#pragma once

#include "sqlsim/engine/engine.h"
#include "sqlsim/functions/function_error.h"

namespace sqlsim {

enum class ArithOp { kAdd, kSubtract, kMultiply, kDivide, kModulo };

Outcome Arithmetic(ArithOp op, const Value& a, const Value& b);
Outcome Negate(const Value& a);

}  // namespace sqlsim
