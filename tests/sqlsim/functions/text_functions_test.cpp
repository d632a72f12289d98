// LIKE and the string functions through SQLite, as the translator calls them.
#include <gtest/gtest.h>

#include <chrono>

#include "function_db.h"

namespace sqlsim {
namespace {

using testing::ExpectAll;

TEST(LikeTest, WildcardsSetsEscapesAndBlanks) {
  ExpectAll({
      {"tsql_like('abc', 'abc')", "I:1"},
      {"tsql_like('ABC', 'abc')", "I:1"},
      {"tsql_like('abc', 'ab')", "I:0"},
      {"tsql_like('ab', 'abc')", "I:0"},
      {"tsql_like('abc', 'a_c')", "I:1"},
      {"tsql_like('ac', 'a_c')", "I:0"},
      {"tsql_like('abc', '%')", "I:1"},
      {"tsql_like('', '%')", "I:1"},
      {"tsql_like('', '')", "I:1"},
      {"tsql_like('a', '')", "I:0"},
      {"tsql_like('xaybzc', '%a%b%c')", "I:1"},
      {"tsql_like('xaybz', '%a%b%c')", "I:0"},
      {"tsql_like('bbc', '[a-c]bc')", "I:1"},
      {"tsql_like('Bbc', '[a-c]bc')", "I:1"},
      {"tsql_like('dbc', '[a-c]bc')", "I:0"},
      {"tsql_like('dbc', '[^a-c]bc')", "I:1"},
      {"tsql_like('abc', '[^a-c]bc')", "I:0"},
      {"tsql_like('xbc', '[xyz]bc')", "I:1"},
      {"tsql_like('-', '[a-]')", "I:1"},
      {"tsql_like('50%', '50[%]')", "I:1"},
      {"tsql_like('500', '50[%]')", "I:0"},
      {"tsql_like('a_b', 'a[_]b')", "I:1"},
      {"tsql_like('axb', 'a[_]b')", "I:0"},
      {"tsql_like('[a', '[a')", "I:1"},
      {"tsql_like('10%', '10!%', '!')", "I:1"},
      {"tsql_like('100', '10!%', '!')", "I:0"},
      {"tsql_like('a!', 'a!', '!')", "I:0"},
      {"tsql_like('a', 'a', 'xy')", "E:506"},
      {"tsql_like('a', 'a', '')", "E:506"},
      {"tsql_like(NULL, 'a')", "NULL"},
      {"tsql_like('a', NULL)", "NULL"},
      {"tsql_like(123, '1%')", "I:1"},
      {"tsql_like(1.5, '1.5')", "I:1"},
      {"tsql_like('\xC4rger', '\xE4%')", "I:1"},
      {"tsql_like('\x8A', '\x9A')", "I:1"},
      // Trailing blanks of the value are ignored, those of the pattern count.
      {"tsql_like('abc', 'abc ')", "I:0"},
      {"tsql_like('abc  ', 'abc')", "I:1"},
      {"tsql_like('abc  ', 'abc ')", "I:1"},
      {"tsql_like('Robert King                   ', '% King')", "I:1"},
      {"tsql_like('Robert King', '% King ')", "I:0"},
      {"tsql_like(' ', '')", "I:1"},
      {"tsql_like(' a', 'a')", "I:0"},
  });
}

TEST(LikeTest, ManyPercentSignsStayFast) {
  testing::FunctionDb db;
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(db.Eval("tsql_like(tsql_replicate('a', 8000), '%%%%%%%%%%%%%%%%b')"), "I:0");
  EXPECT_EQ(db.Eval("tsql_like(tsql_replicate('a', 8000), '%a%a%a%a%a%a%a%a%a%a%a%b')"), "I:0");
  EXPECT_EQ(db.Eval("tsql_like(tsql_replicate('a', 8000) || 'b', '%a%a%a%a%a%a%a%a%b')"), "I:1");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(TextFunctionsTest, Functions) {
  ExpectAll({
      // Case, trimming, length.
      {"tsql_upper('abc\xE4\xF6\xFC\xFF\x9A\xDF\xB5')", "T:ABC\xC4\xD6\xDC\x9F\x8A\xDF\xB5"},
      {"tsql_lower('ABC\xC0\xD7\xDE\x8C\x8E')", "T:abc\xE0\xD7\xFE\x9C\x9E"},
      {"tsql_upper(NULL)", "NULL"},
      {"tsql_upper(12)", "T:12"},
      {"tsql_ltrim('  a  ')", "T:a  "},
      {"tsql_rtrim('  a  ')", "T:  a"},
      {"tsql_rtrim('a' || char(9))", "T:a\t"},
      {"tsql_rtrim(NULL)", "NULL"},
      {"tsql_len('abc  ')", "I:3"},
      {"tsql_len(' a')", "I:2"},
      {"tsql_len('   ')", "I:0"},
      {"tsql_len(12345)", "I:5"},
      {"tsql_len(-1.5)", "I:4"},
      {"tsql_len(NULL)", "NULL"},
      {"tsql_datalength('abc  ')", "I:5"},
      {"tsql_datalength('')", "I:0"},
      {"tsql_datalength(x'0102')", "I:2"},
      {"tsql_datalength(5)", "I:4"},
      {"tsql_datalength(5000000000)", "I:8"},
      {"tsql_datalength(1.5)", "I:8"},
      {"tsql_datalength(NULL)", "NULL"},
      // SUBSTRING, LEFT, RIGHT.
      {"tsql_substring('abcdef', 2, 3)", "T:bcd"},
      {"tsql_substring('abcdef', 0, 3)", "T:ab"},
      {"tsql_substring('abcdef', -1, 3)", "T:a"},
      {"tsql_substring('abcdef', -5, 3)", "T:"},
      {"tsql_substring('abcdef', 7, 2)", "T:"},
      {"tsql_substring('abcdef', 5, 100)", "T:ef"},
      {"tsql_substring('abcdef', 2, 0)", "T:"},
      {"tsql_substring('abcdef', 2, -1)", "E:537"},
      {"tsql_substring('abc', 1, 9223372036854775807)", "T:abc"},
      {"tsql_substring('abc', 9223372036854775807, 5)", "T:"},
      {"tsql_substring('abc', -9223372036854775807, 5)", "T:"},
      {"tsql_substring('abc', '2', 1)", "T:b"},
      {"tsql_substring('abc', 'x', 1)", "E:245"},
      {"tsql_substring(x'010203', 2, 1)", "B:02"},
      {"tsql_substring(12345, 2, 2)", "T:23"},
      {"tsql_substring(NULL, 1, 1)", "NULL"},
      {"tsql_substring('abc', NULL, 1)", "NULL"},
      {"tsql_left('abc', 2)", "T:ab"},
      {"tsql_left('abc', 5)", "T:abc"},
      {"tsql_left('abc', 0)", "T:"},
      {"tsql_left('abc', -1)", "E:537"},
      {"tsql_left(x'0102', 1)", "B:01"},
      {"tsql_right('abc', 2)", "T:bc"},
      {"tsql_right('abc', 10)", "T:abc"},
      {"tsql_right('abc', -1)", "E:536"},
      {"tsql_right(NULL, 1)", "NULL"},
      // REPLICATE, SPACE, CHARINDEX, REPLACE.
      {"tsql_replicate('ab', 3)", "T:ababab"},
      {"tsql_replicate('ab', 0)", "T:"},
      {"tsql_replicate('ab', -1)", "NULL"},
      {"tsql_replicate('', 5)", "T:"},
      {"tsql_datalength(tsql_replicate('abc', 1000000000))", "I:8000"},
      {"tsql_space(3)", "T:   "},
      {"tsql_space(-1)", "NULL"},
      {"tsql_datalength(tsql_space(2000000000))", "I:8000"},
      {"tsql_charindex('B', 'abcb')", "I:2"},
      {"tsql_charindex('b', 'abcb', 3)", "I:4"},
      {"tsql_charindex('c', 'abc', 0)", "I:3"},
      {"tsql_charindex('c', 'abc', 10)", "I:0"},
      {"tsql_charindex('x', 'abc')", "I:0"},
      {"tsql_charindex('', 'abc')", "I:0"},
      {"tsql_charindex(' ', 'a b')", "I:2"},
      {"tsql_charindex('\xE4', 'x\xC4')", "I:2"},
      {"tsql_charindex(NULL, 'a')", "NULL"},
      {"tsql_replace('aXbxc', 'x', '-')", "T:a-b-c"},
      {"tsql_replace('abc', 'B', '')", "T:ac"},
      {"tsql_replace('abc', '', 'z')", "T:abc"},
      {"tsql_replace('aaa', 'aa', 'b')", "T:ba"},
      {"tsql_replace(NULL, 'a', 'b')", "NULL"},
      {"tsql_replace('a', 'a', NULL)", "NULL"},
      {"tsql_datalength(tsql_replace(tsql_replicate('a', 8000), 'a', 'bb'))", "I:8000"},
  });
}

}  // namespace
}  // namespace sqlsim
