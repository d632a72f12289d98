// ODBC escape sequences, the translation on its own: text in, the
// translated text or the server's syntax error out.
#include <gtest/gtest.h>

#include <string>

#include "sqlsim/odbc/escapes.h"

namespace {

using sqlsim::odbc::TranslateEscapes;
constexpr const char* kToday = "CONVERT(datetime, CONVERT(char(10), GETDATE(), 120) + ' ' + ";

TEST(EscapeTranslationTest, RewritesEscapesAndLeavesTheRest) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"SELECT 1 }", "SELECT 1 }"},  // for the engine to refuse
      {"SELECT {d '2024-02-29'}", "SELECT CONVERT(datetime, '2024-02-29', 120)"},
      {"{ TS\t'2024-02-29 13:14:15.123' }", "CONVERT(datetime, '2024-02-29 13:14:15.123', 121)"},
      {"{t '13:14:15'}", std::string(kToday) + "'13:14:15', 121)"},
      {"{guid '6f9619ff-8b86-d011-b42d-00c04fc964ff'}", "'6f9619ff-8b86-d011-b42d-00c04fc964ff'"},
      {"{fn UCASE(name)}", "UPPER(name)"},
      {"{fn UCASE([a}b])}", "UPPER([a}b])"},
      {"{\tFn\n ucase ( a ) }", "UPPER(a)"},
      {"{fn CONCAT({fn LCASE('A')}, 'b')}", "(LOWER('A') + 'b')"},
      {"{fn SUBSTRING(s, {fn LENGTH(',)')}, (1))}", "SUBSTRING(s, LEN(',)'), (1))"},
      {"{fn LOCATE('a', s, 2)}", "CHARINDEX('a', s, 2)"},
      {"{fn TRUNCATE(x, 1)} {fn MOD(7, 3)}", "ROUND(x, 1, 1) (7 % 3)"},
      {"{fn convert(x, sql_integer)} {fn CONVERT(x, SQL_TYPE_TIMESTAMP)}", "CONVERT(int, x) CONVERT(datetime, x)"},
      {"{fn NOW()} {fn IFNULL(a, 0)}", "GETDATE() ISNULL(a, 0)"},
      {"{fn SQRT(2)} {fn UCASE(a, b)}", "SQRT(2) UCASE(a, b)"},  // no form: as written
      {"SELECT * FROM {oj a LEFT OUTER JOIN {oj b RIGHT OUTER JOIN c ON b.x = c.x} ON a.x = b.x}",
       "SELECT * FROM a LEFT OUTER JOIN b RIGHT OUTER JOIN c ON b.x = c.x ON a.x = b.x"},
      {"x LIKE 'a\\_%' {escape '\\'}", "x LIKE 'a\\_%' ESCAPE '\\'"},
      {"{call p}", "EXEC p"},
      {"{CALL p(1, 'a,b', (2))}", "EXEC p 1, 'a,b', (2)"},
      {"{call p(?, , ?)}", "EXEC p ?, DEFAULT, ?"},
      {"{call [my (p)] ()}", "EXEC [my (p)]"},
      {"{ ? = call dbo.p(?) }", "EXEC ? = dbo.p ?"},
      {"{?=call p}", "EXEC ? = p"},
      // Braces inside literals, quoted names and comments are text.
      {"SELECT 'it''s {d}' + N'{'", "SELECT 'it''s {d}' + N'{'"},
      {"SELECT \"a{b}\", [a{]]b}] FROM t", "SELECT \"a{b}\", [a{]]b}] FROM t"},
      {"-- {x}\nSELECT {fn UCASE('{')}", "-- {x}\nSELECT UPPER('{')"},
      {"/* /* {x} */ {y} */ SELECT 1", "/* /* {x} */ {y} */ SELECT 1"},
      {"SELECT 'open {d", "SELECT 'open {d"},
  };
  for (const auto& c : cases) {
    auto translated = TranslateEscapes(c.in);
    EXPECT_TRUE(translated.ok) << c.in << ": " << translated.error.message;
    EXPECT_EQ(translated.text, c.out) << c.in;
  }
}

TEST(EscapeTranslationTest, MalformedEscapesAreTheServersSyntaxError) {
  const struct {
    std::string in, near_text;
  } cases[] = {
      {"SELECT {d '2024-01-01'", "{"}, {"{fn UCASE('a')", "{"}, {"{x 1}", "x"}, {"{interval '1' day}", "interval"},
      {"{}", "}"}, {"{ }", "}"}, {"{fn}", "fn"}, {"{fn UCASE}", "UCASE"}, {"{fn UCASE(a}", "UCASE"},
      {"{fn UCASE(a) b}", "UCASE"}, {"{d 2024}", "d"}, {"{ts '2024' '1'}", "ts"}, {"{? call p}", "?"},
      {"{? = fn UCASE(a)}", "fn"}, {"{call}", "call"}, {"{call p(1) 2}", "p"}, {"{call p 1}", "p"}, {"{oj }", "oj"},
      {std::string(200, '{'), "{"},
  };
  for (const auto& c : cases) {
    auto translated = TranslateEscapes(c.in);
    EXPECT_FALSE(translated.ok) << c.in;
    EXPECT_EQ(translated.error.sqlstate, "42000") << c.in;
    EXPECT_EQ(translated.error.native, 102) << c.in;
    EXPECT_EQ(translated.error.message, "Incorrect syntax near '" + c.near_text + "'.") << c.in;
  }
}

}  // namespace
