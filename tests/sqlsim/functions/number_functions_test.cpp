// Arithmetic, the numeric functions, STR, ISNUMERIC and object names.
#include <gtest/gtest.h>

#include "function_db.h"

namespace sqlsim {
namespace {

using testing::ExpectAll;

TEST(ArithmeticTest, OperandsOverflowAndDates) {
  ExpectAll({
      // Mixed operands and NULL.
      {"tsql_add('ab', 'cd')", "T:abcd"},
      {"tsql_add('ab', NULL)", "NULL"},
      {"tsql_add(NULL, 1)", "NULL"},
      {"tsql_add(x'01', x'02')", "B:0102"},
      {"tsql_add(1, '2')", "I:3"},
      {"tsql_add(' 2 ', 1)", "I:3"},
      {"tsql_add('x', 1)", "E:245"},
      {"tsql_add('1.5', 1)", "E:245"},
      {"tsql_add(1.5, '2')", "R:3.5"},
      {"tsql_add(1.5, 'x')", "E:8114"},
      {"tsql_add(1, 0.5)", "R:1.5"},
      {"tsql_sub('a', 'b')", "E:8117"},
      {"tsql_mul('2', '3')", "E:8117"},
      {"tsql_sub(5, '2')", "I:3"},
      // Integer overflow and division.
      {"tsql_add(2147483647, 0)", "I:2147483647"},
      {"tsql_add(2147483647, 1)", "E:8115"},
      {"tsql_sub(-2147483648, 1)", "E:8115"},
      {"tsql_add(2147483648, 1)", "I:2147483649"},
      {"tsql_add(9223372036854775807, 1)", "E:8115"},
      {"tsql_mul(65536, 32768)", "E:8115"},
      {"tsql_mul(65536, -32768)", "I:-2147483648"},
      {"tsql_mul(4294967296, 4294967296)", "E:8115"},
      {"tsql_div(7, 2)", "I:3"},
      {"tsql_div(-7, 2)", "I:-3"},
      {"tsql_div(7, 2.0)", "R:3.5"},
      {"tsql_div(7, 0)", "E:8134"},
      {"tsql_div(7.0, 0)", "E:8134"},
      {"tsql_div(NULL, 0)", "NULL"},
      {"tsql_div(-2147483648, -1)", "E:8115"},
      {"tsql_div(-9223372036854775808, -1)", "E:8115"},
      {"tsql_mod(7, 3)", "I:1"},
      {"tsql_mod(-7, 3)", "I:-1"},
      {"tsql_mod(7, 0)", "E:8134"},
      {"tsql_mod(7.5, 2)", "R:1.5"},
      {"tsql_mod(-9223372036854775808, -1)", "I:0"},
      {"tsql_mul(1e308, 10)", "E:8115"},
      {"tsql_neg(5)", "I:-5"},
      {"tsql_neg(-2147483648)", "E:8115"},
      {"tsql_neg(-9223372036854775808)", "E:8115"},
      {"tsql_neg(1.5)", "R:-1.5"},
      {"tsql_neg('5')", "E:8117"},
      {"tsql_neg(NULL)", "NULL"},
      // A datetime plus days.
      {"tsql_add('2024-02-28 12:00:00.000', 1)", "T:2024-02-29 12:00:00.000"},
      {"tsql_add(1, '2024-02-28 12:00:00.000')", "T:2024-02-29 12:00:00.000"},
      {"tsql_sub('2024-03-01 00:00:00.000', 1)", "T:2024-02-29 00:00:00.000"},
      {"tsql_add('2024-01-01 00:00:00.000', 0.5)", "T:2024-01-01 12:00:00.000"},
      {"tsql_sub('2024-01-02 06:00:00.000', '2024-01-01 00:00:00.000')", "T:1900-01-02 06:00:00.000"},
      {"tsql_add('9999-12-31 00:00:00.000', 1)", "E:8115"},
      {"tsql_add('2024-01-01 00:00:00.000', 'x')", "T:2024-01-01 00:00:00.000x"},
  });
}

TEST(NumberFunctionsTest, RoundingAndStr) {
  ExpectAll({
      // ABS, FLOOR, CEILING, ROUND.
      {"tsql_abs(-5)", "I:5"},
      {"tsql_abs(-2147483648)", "E:8115"},
      {"tsql_abs(-2147483649)", "I:2147483649"},
      {"tsql_abs(-1.5)", "R:1.5"},
      {"tsql_abs('-2')", "R:2"},
      {"tsql_abs('x')", "E:8114"},
      {"tsql_abs(NULL)", "NULL"},
      {"tsql_floor(-1.5)", "R:-2"},
      {"tsql_floor(5)", "I:5"},
      {"tsql_ceiling(1.2)", "R:2"},
      {"tsql_ceiling(-1.2)", "R:-1"},
      {"tsql_round(2.675, 2)", "R:2.68"},
      {"tsql_round(-2.5, 0)", "R:-3"},
      {"tsql_round(0.5, 0)", "R:1"},
      {"tsql_round(12.5, -1)", "R:10"},
      {"tsql_round(1.2345, 2, 1)", "R:1.23"},
      {"tsql_round(-1.2399, 2, 1)", "R:-1.23"},
      {"tsql_round(1234, -2)", "I:1200"},
      {"tsql_round(1250, -2)", "I:1300"},
      {"tsql_round(-1250, -2)", "I:-1300"},
      {"tsql_round(1299, -2, 1)", "I:1200"},
      {"tsql_round(15, 1)", "I:15"},
      {"tsql_round(2147483647, -1)", "E:8115"},
      {"tsql_round(5, -30)", "I:0"},
      {"tsql_round(1.5, NULL)", "NULL"},
      // STR.
      {"tsql_str(-1.5)", "T:        -2"},
      {"tsql_str(123.45)", "T:       123"},
      {"tsql_str(tsql_floor(123.45), 8, 3)", "T: 123.000"},
      {"tsql_str(12, 5)", "T:   12"},
      {"tsql_str(0.5)", "T:         1"},
      {"tsql_str(999.96, 6, 1)", "T:1000.0"},
      {"tsql_str(999.96, 5, 1)", "T: 1000"},
      {"tsql_str(999.96, 4, 1)", "T:1000"},
      {"tsql_str(999.96, 3, 1)", "T:***"},
      {"tsql_str(3.14159, 10, 20)", "T:3.14159000"},
      {"tsql_str('12.5', 6, 1)", "T:  12.5"},
      {"tsql_str('x')", "E:8114"},
      {"tsql_str(NULL)", "NULL"},
      {"tsql_str(1, 0)", "NULL"},
      {"tsql_str(1, 5, -1)", "NULL"},
      {"tsql_str(-2147483648, 11)", "T:-2147483648"},
  });
}

TEST(MiscFunctionsTest, IsnumericAndObjname) {
  ExpectAll({
      {"tsql_isnumeric('12')", "I:1"},
      {"tsql_isnumeric(' 12 ')", "I:1"},
      {"tsql_isnumeric('-1.5e3')", "I:1"},
      {"tsql_isnumeric('1d3')", "I:1"},
      {"tsql_isnumeric('$1,000.50')", "I:1"},
      {"tsql_isnumeric('-')", "I:1"},
      {"tsql_isnumeric('.')", "I:1"},
      {"tsql_isnumeric('1e')", "I:0"},
      {"tsql_isnumeric('e5')", "I:0"},
      {"tsql_isnumeric('1.2.3')", "I:0"},
      {"tsql_isnumeric('')", "I:0"},
      {"tsql_isnumeric('abc')", "I:0"},
      {"tsql_isnumeric(12)", "I:1"},
      {"tsql_isnumeric(1.5)", "I:1"},
      {"tsql_isnumeric(NULL)", "I:0"},
      {"tsql_isnumeric(x'31')", "I:0"},
      {"tsql_objname('[dbo].[up_x]')", "T:up_x"},
      {"tsql_objname('dbo.up_x')", "T:up_x"},
      {"tsql_objname('up_x')", "T:up_x"},
      {"tsql_objname('\"x\"')", "T:x"},
      {"tsql_objname('[a]]b]')", "T:a]b"},
      {"tsql_objname('[dbo].[up.x]')", "T:up.x"},
      {"tsql_objname(' dbo . t ')", "T:t"},
      {"tsql_objname('srv.db.dbo.t')", "T:t"},
      {"tsql_objname('db..t')", "T:t"},
      {"tsql_objname('a.b.c.d.e')", "NULL"},
      {"tsql_objname('[dbo].[up')", "NULL"},
      {"tsql_objname('dbo.')", "NULL"},
      {"tsql_objname('[x]y')", "NULL"},
      {"tsql_objname('')", "NULL"},
      {"tsql_objname(NULL)", "NULL"},
  });
}

}  // namespace
}  // namespace sqlsim
