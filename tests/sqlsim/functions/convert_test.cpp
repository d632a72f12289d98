// CAST/CONVERT and column stores through tsql_convert and tsql_store.
#include <gtest/gtest.h>

#include "function_db.h"

namespace sqlsim {
namespace {

using testing::ExpectAll;

TEST(ConvertTest, ToCharacterTypes) {
  ExpectAll({
      {"tsql_convert('abc', 'varchar', 'char', 5, -1)", "T:abc  "},
      {"tsql_convert('abcdef', 'varchar', 'char', 3, -1)", "T:abc"},
      {"tsql_convert('abcdef', 'varchar', 'varchar', 3, -1)", "T:abc"},
      {"tsql_convert('abc  ', 'char', 'varchar', 0, -1)", "T:abc  "},
      {"tsql_convert('abc', 'varchar', 'char', -1, -1)", "T:abc                           "},
      {"tsql_datalength(tsql_convert(tsql_replicate('x', 50), 'varchar', 'varchar', -1, -1))", "I:30"},
      {"tsql_datalength(tsql_convert(tsql_replicate('x', 50), 'varchar', 'text', -1, -1))", "I:50"},
      {"tsql_convert(123, 'int', 'varchar', 3, -1)", "T:123"},
      {"tsql_convert(123, 'int', 'varchar', 2, -1)", "T:*"},
      {"tsql_convert(123, 'int', 'char', 2, -1)", "T:* "},
      {"tsql_convert(-12, 'int', 'varchar', 2, -1)", "T:*"},
      {"tsql_convert(123, '', 'varchar', -1, -1)", "T:123"},
      {"tsql_convert(123.45, 'decimal', 'varchar', 6, -1)", "T:123.45"},
      {"tsql_convert(123.45, 'decimal', 'varchar', 5, -1)", "E:8115"},
      {"tsql_convert(123.45, 'decimal', 'char', 2, -1)", "E:8115"},
      {"tsql_convert(1.5, 'float', 'varchar', -1, -1)", "T:1.5"},
      {"tsql_convert(1234567.0, 'float', 'varchar', -1, -1)", "T:1.23457e+006"},
      {"tsql_convert(0.0001, 'float', 'varchar', -1, -1)", "T:0.0001"},
      {"tsql_convert(0.00001, 'float', 'varchar', -1, -1)", "T:1e-005"},
      {"tsql_convert(123456.0, 'float', 'varchar', -1, 1)", "T:1.2345600e+005"},
      {"tsql_convert(1234.5, 'float', 'varchar', 3, -1)", "E:8115"},
      {"tsql_convert(x'4142', 'varbinary', 'varchar', -1, -1)", "T:AB"},
      {"tsql_convert(x'4142', 'varbinary', 'varchar', -1, 1)", "T:0x4142"},
      {"tsql_convert(x'4142', 'varbinary', 'varchar', -1, 2)", "T:4142"},
      {"tsql_convert('a', 'varchar', 'varchar', 8001, -1)", "E:131"},
      {"tsql_convert(NULL, 'int', 'varchar', -1, -1)", "NULL"},
  });
}

TEST(ConvertTest, DatetimeToText) {
  ExpectAll({
      {"tsql_convert('2025-12-04 15:07:09.123', 'datetime', 'varchar', -1, -1)", "T:Dec  4 2025  3:07PM"},
      {"tsql_convert('2025-12-04 15:07:09.123', '', 'varchar', -1, -1)", "T:Dec  4 2025  3:07PM"},
      {"tsql_convert('2025-12-04 15:07:09.123', 'varchar', 'varchar', -1, -1)", "T:2025-12-04 15:07:09.123"},
      {"tsql_convert('2025-12-04 15:07:09.123', 'datetime', 'char', 10, 120)", "T:2025-12-04"},
      {"tsql_convert('2025-12-04 15:07:09.123', 'datetime', 'varchar', -1, 999)", "E:281"},
  });
}

TEST(ConvertTest, ToDatetime) {
  ExpectAll({
      {"tsql_convert('2024-02-29', 'varchar', 'datetime', -1, -1)", "T:2024-02-29 00:00:00.000"},
      {"tsql_convert('2024-02-30', 'varchar', 'datetime', -1, -1)", "E:242"},
      {"tsql_convert('1752-12-31', 'varchar', 'datetime', -1, -1)", "E:242"},
      {"tsql_convert('x', 'varchar', 'datetime', -1, -1)", "E:241"},
      {"tsql_convert('', 'varchar', 'datetime', -1, -1)", "T:1900-01-01 00:00:00.000"},
      {"tsql_convert('04/12/2025', 'varchar', 'datetime', -1, 103)", "T:2025-12-04 00:00:00.000"},
      {"tsql_convert('04/12/2025', 'varchar', 'datetime', -1, 101)", "T:2025-04-12 00:00:00.000"},
      {"tsql_convert('04.12.2025', 'varchar', 'datetime', -1, 104)", "T:2025-12-04 00:00:00.000"},
      {"tsql_convert('20251204', 'varchar', 'datetime', -1, 112)", "T:2025-12-04 00:00:00.000"},
      {"tsql_convert('2025-12-04 15:07:09.999', 'varchar', 'datetime', -1, 121)", "T:2025-12-04 15:07:10.000"},
      {"tsql_convert(0, 'int', 'datetime', -1, -1)", "T:1900-01-01 00:00:00.000"},
      {"tsql_convert(1.5, 'float', 'datetime', -1, -1)", "T:1900-01-02 12:00:00.000"},
      {"tsql_convert(-53690, 'int', 'datetime', -1, -1)", "T:1753-01-01 00:00:00.000"},
      {"tsql_convert(-53691, 'int', 'datetime', -1, -1)", "E:8115"},
      {"tsql_convert(2958464, 'int', 'datetime', -1, -1)", "E:8115"},
      {"tsql_convert(x'0000000100000001', 'varbinary', 'datetime', -1, -1)", "T:1900-01-02 00:00:00.003"},
  });
}

TEST(ConvertTest, DatetimeToNumbers) {
  ExpectAll({
      {"tsql_convert('2025-12-04 11:59:59.997', 'datetime', 'int', -1, -1)", "I:45993"},
      {"tsql_convert('2025-12-04 12:00:00.000', 'datetime', 'int', -1, -1)", "I:45994"},
      {"tsql_convert('1900-01-02 06:00:00.000', 'datetime', 'float', -1, -1)", "R:1.25"},
      {"tsql_convert('1899-12-31 12:00:00.000', 'datetime', 'float', -1, -1)", "R:-0.5"},
      {"tsql_convert('1900-01-02 00:00:00.003', 'datetime', 'varbinary', -1, -1)", "B:0000000100000001"},
  });
}

TEST(ConvertTest, TextToIntegers) {
  ExpectAll({
      {"tsql_convert(' 42 ', 'varchar', 'int', -1, -1)", "I:42"},
      {"tsql_convert('+7', 'varchar', 'int', -1, -1)", "I:7"},
      {"tsql_convert('', 'varchar', 'int', -1, -1)", "I:0"},
      {"tsql_convert('-', 'varchar', 'int', -1, -1)", "I:0"},
      {"tsql_convert('4 2', 'varchar', 'int', -1, -1)", "E:245"},
      {"tsql_convert('1.5', 'varchar', 'int', -1, -1)", "E:245"},
      {"tsql_convert('abc', 'varchar', 'smallint', -1, -1)", "E:245"},
      {"tsql_convert('2147483647', 'varchar', 'int', -1, -1)", "I:2147483647"},
      {"tsql_convert('-2147483648', 'varchar', 'int', -1, -1)", "I:-2147483648"},
      {"tsql_convert('2147483648', 'varchar', 'int', -1, -1)", "E:248"},
      {"tsql_convert('300', 'varchar', 'tinyint', -1, -1)", "E:244"},
      {"tsql_convert('-1', 'varchar', 'tinyint', -1, -1)", "E:244"},
      {"tsql_convert('9223372036854775807', 'varchar', 'bigint', -1, -1)", "I:9223372036854775807"},
      {"tsql_convert('99999999999999999999', 'varchar', 'bigint', -1, -1)", "E:8114"},
  });
}

TEST(ConvertTest, IntegerRanges) {
  ExpectAll({
      {"tsql_convert(2147483647, 'bigint', 'int', -1, -1)", "I:2147483647"},
      {"tsql_convert(2147483648, 'bigint', 'int', -1, -1)", "E:8115"},
      {"tsql_convert(-2147483648, 'bigint', 'int', -1, -1)", "I:-2147483648"},
      {"tsql_convert(-2147483649, 'bigint', 'int', -1, -1)", "E:8115"},
      {"tsql_convert(32767, 'int', 'smallint', -1, -1)", "I:32767"},
      {"tsql_convert(32768, 'int', 'smallint', -1, -1)", "E:220"},
      {"tsql_convert(-32768, 'int', 'smallint', -1, -1)", "I:-32768"},
      {"tsql_convert(255, 'int', 'tinyint', -1, -1)", "I:255"},
      {"tsql_convert(256, 'int', 'tinyint', -1, -1)", "E:220"},
      {"tsql_convert(-1, 'int', 'tinyint', -1, -1)", "E:220"},
      {"tsql_convert(2.9, 'float', 'int', -1, -1)", "I:2"},
      {"tsql_convert(-2.9, 'float', 'int', -1, -1)", "I:-2"},
      {"tsql_convert(2147483647.9, 'float', 'int', -1, -1)", "I:2147483647"},
      {"tsql_convert(2147483648.0, 'float', 'int', -1, -1)", "E:8115"},
      {"tsql_convert(1e30, 'float', 'bigint', -1, -1)", "E:8115"},
      {"tsql_convert(255.9, 'decimal', 'tinyint', -1, -1)", "I:255"},
      {"tsql_convert(x'00000101', 'varbinary', 'int', -1, -1)", "I:257"},
      {"tsql_convert(x'FF', 'varbinary', 'smallint', -1, -1)", "I:255"},
      {"tsql_convert(x'FFFF', 'varbinary', 'smallint', -1, -1)", "I:-1"},
      {"tsql_convert(x'0102FFFFFFFF', 'varbinary', 'int', -1, -1)", "I:-1"},
  });
}

TEST(ConvertTest, FloatDecimalBit) {
  ExpectAll({
      {"tsql_convert('1.5e3', 'varchar', 'float', -1, -1)", "R:1500"},
      {"tsql_convert(' -2 ', 'varchar', 'float', -1, -1)", "R:-2"},
      {"tsql_convert('.5', 'varchar', 'float', -1, -1)", "R:0.5"},
      {"tsql_convert('abc', 'varchar', 'float', -1, -1)", "E:8114"},
      {"tsql_convert('1e', 'varchar', 'float', -1, -1)", "E:8114"},
      {"tsql_convert('1,5', 'varchar', 'float', -1, -1)", "E:8114"},
      {"tsql_convert('1e999', 'varchar', 'float', -1, -1)", "E:8114"},
      {"tsql_convert('1e-999', 'varchar', 'float', -1, -1)", "R:0"},
      {"tsql_convert(7, 'int', 'float', -1, -1)", "R:7"},
      {"tsql_convert(x'01', 'varbinary', 'float', -1, -1)", "E:529"},
      {"tsql_convert(0.1, 'float', 'real', -1, -1)", "R:0.10000000149011612"},
      {"tsql_convert(1e39, 'float', 'real', -1, -1)", "E:8115"},
      {"tsql_convert(2.675, 'float', 'decimal', 2, -1)", "R:2.68"},
      {"tsql_convert(-2.675, 'float', 'decimal', 2, -1)", "R:-2.68"},
      {"tsql_convert('12.345', 'varchar', 'decimal', 2, -1)", "R:12.35"},
      {"tsql_convert('12.5', 'varchar', 'decimal', -1, -1)", "R:13"},
      {"tsql_convert('1e3', 'varchar', 'decimal', 0, -1)", "E:8114"},
      {"tsql_convert(7, 'int', 'decimal', 2, -1)", "R:7"},
      {"tsql_convert('true', 'varchar', 'bit', -1, -1)", "I:1"},
      {"tsql_convert(' FALSE ', 'varchar', 'bit', -1, -1)", "I:0"},
      {"tsql_convert('2', 'varchar', 'bit', -1, -1)", "I:1"},
      {"tsql_convert('0', 'varchar', 'bit', -1, -1)", "I:0"},
      {"tsql_convert('yes', 'varchar', 'bit', -1, -1)", "E:245"},
      {"tsql_convert(-5, 'int', 'bit', -1, -1)", "I:1"},
      {"tsql_convert(0.0, 'float', 'bit', -1, -1)", "I:0"},
  });
}

TEST(ConvertTest, ToBinaryAndOddTargets) {
  ExpectAll({
      {"tsql_convert('AB', 'varchar', 'varbinary', -1, -1)", "B:4142"},
      {"tsql_convert('AB', 'varchar', 'binary', 4, -1)", "B:41420000"},
      {"tsql_convert('ABC', 'varchar', 'varbinary', 2, -1)", "B:4142"},
      {"tsql_convert(1, 'int', 'binary', 4, -1)", "B:00000001"},
      {"tsql_convert(1, 'int', 'varbinary', -1, -1)", "B:00000001"},
      {"tsql_convert(1, 'int', 'binary', 8, -1)", "B:0000000000000001"},
      {"tsql_convert(258, 'smallint', 'binary', 1, -1)", "B:02"},
      {"tsql_convert(-1, 'smallint', 'varbinary', -1, -1)", "B:FFFF"},
      {"tsql_convert(5000000000, '', 'varbinary', -1, -1)", "B:000000012A05F200"},
      {"tsql_convert(1, 'int', 'money2', -1, -1)", "E:243"},
      {"tsql_convert(1.5, 'float', '', -1, -1)", "R:1.5"},
  });
}

TEST(StoreTest, TruncationPaddingAndRanges) {
  ExpectAll({
      {"tsql_store('abc', 'varchar', 'char', 5, 'c')", "T:abc  "},
      {"tsql_store('abc   ', 'varchar', 'char', 3, 'c')", "T:abc"},
      {"tsql_store('abcd', 'varchar', 'char', 3, 'c')", "E:8152"},
      {"tsql_store('abc d', 'varchar', 'char', 3, 'c')", "E:8152"},
      {"tsql_store('abcd', 'varchar', 'varchar', 3, 'c')", "E:8152"},
      {"tsql_store('abc  ', 'varchar', 'varchar', 3, 'c')", "T:abc"},
      {"tsql_store('abc  ', 'varchar', 'varchar', 10, 'c')", "T:abc  "},
      {"tsql_datalength(tsql_store(tsql_replicate('a', 5000), 'varchar', 'varchar', 0, 'c'))", "I:5000"},
      {"tsql_store('ab', 'varchar', 'char', -1, 'c')", "E:8152"},
      {"tsql_store('a', 'varchar', 'char', -1, 'c')", "T:a"},
      {"tsql_store(x'010203', 'varbinary', 'varbinary', 2, 'c')", "E:8152"},
      {"tsql_store(x'01', 'varbinary', 'binary', 2, 'c')", "B:0100"},
      {"tsql_store(300, 'int', 'tinyint', -1, 'c')", "E:220"},
      {"tsql_store(3000000000, 'bigint', 'int', -1, 'c')", "E:8115"},
      {"tsql_store('x', 'varchar', 'int', -1, 'c')", "E:245"},
      {"tsql_store(' 12', 'varchar', 'int', -1, 'c')", "I:12"},
      {"tsql_store(12345, 'int', 'char', 3, 'c')", "T:*  "},
      {"tsql_store(123.456, 'decimal', 'varchar', 3, 'c')", "E:8115"},
      {"tsql_store('2025-12-04 15:07:09.123', '', 'varchar', 30, 'c')", "T:2025-12-04 15:07:09.123"},
      {"tsql_store('2024-02-30', 'varchar', 'datetime', -1, 'c')", "E:242"},
      {"tsql_store('20240229', 'varchar', 'datetime', -1, 'c')", "T:2024-02-29 00:00:00.000"},
      {"tsql_store(2.675, 'float', 'decimal', 2, 'c')", "R:2.68"},
      {"tsql_store(NULL, 'varchar', 'char', 5, 'c')", "NULL"},
  });
}

}  // namespace
}  // namespace sqlsim
