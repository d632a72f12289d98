// Expressions, parsed as the single item of "SELECT <expr>".
#include <gtest/gtest.h>

#include <string>

#include "sqlsim/front/ast_printer.h"

namespace sqlsim::testing {
namespace {

struct ExprCase {
  const char* expr;
  const char* printed;
};

void ExpectExpressions(const ExprCase* begin, const ExprCase* end) {
  for (const ExprCase* c = begin; c != end; ++c) {
    EXPECT_EQ(ParseAndPrint(std::string("SELECT ") + c->expr), std::string("(select ") + c->printed + ")")
        << c->expr;
  }
}

TEST(ParseExprTest, Expressions) {
  const ExprCase cases[] = {
      // Literals.
      {"12", "12"},
      {"12.50", "dec:12.50"},
      {".5", "dec:.5"},
      {"1.5E-3", "float:1.5E-3"},
      {"'it''s'", "'it''s'"},
      {"N'x'", "N'x'"},
      {"''", "''"},
      {"0x4142", "0x4142"},
      {"0x123", "0x0123"},
      {"NULL", "NULL"},
      {"-5", "-5"},
      {"- 5", "-5"},
      {"+5", "5"},
      {"-1.5", "dec:-1.5"},
      {"- -5", "(- -5)"},
      {"-(5)", "-5"},
      {"-'a'", "(- 'a')"},
      {"?", "?0"},
      {"@v", "@v"},
      {"@@error", "@@ERROR"},
      {"@@RowCount", "@@ROWCOUNT"},
      // Precedence.
      {"1 + 2 * 3", "(+ 1 (* 2 3))"},
      {"(1 + 2) * 3", "(* (+ 1 2) 3)"},
      {"1 - 2 - 3", "(- (- 1 2) 3)"},
      {"10 / 2 % 3 * 4", "(* (% (/ 10 2) 3) 4)"},
      {"2 - -3", "(- 2 -3)"},
      {"2*-3", "(* 2 -3)"},
      {"-a * b", "(* (- a) b)"},
      {"~a & b | c ^ d", "(^ (| (& (~ a) b) c) d)"},
      {"a + b & c", "(& (+ a b) c)"},
      {"a * b & c", "(& (* a b) c)"},
      {"1 WHERE a = 1 OR b = 2 AND c = 3", "1 (where (OR (= a 1) (AND (= b 2) (= c 3))))"},
      {"1 WHERE NOT a = 1 AND b = 2", "1 (where (AND (NOT (= a 1)) (= b 2)))"},
      {"1 WHERE NOT NOT a = 1", "1 (where (NOT (NOT (= a 1))))"},
      {"1 WHERE a + 1 > b * 2", "1 (where (> (+ a 1) (* b 2)))"},
      {"1 WHERE (a = 1 OR b = 2) AND c = 3", "1 (where (AND (OR (= a 1) (= b 2)) (= c 3)))"},
      {"1 WHERE a != 1 AND b !< 2 AND c !> 3 AND d <> 4",
       "1 (where (AND (AND (AND (<> a 1) (>= b 2)) (<= c 3)) (<> d 4)))"},
      {"1 WHERE a <= 1 OR a >= 2 OR a < 3 OR a > 4",
       "1 (where (OR (OR (OR (<= a 1) (>= a 2)) (< a 3)) (> a 4)))"},
      {"'a' + 'b' + c", "(+ (+ 'a' 'b') c)"},
      // Predicates.
      {"1 WHERE a IN (1, 2, 3)", "1 (where (in a 1 2 3))"},
      {"1 WHERE a NOT IN (1)", "1 (where (not-in a 1))"},
      {"1 WHERE a IN (SELECT b FROM t)", "1 (where (in a (select b (from t))))"},
      {"1 WHERE a NOT IN (SELECT b FROM t UNION SELECT c FROM u)",
       "1 (where (not-in a (union (select b (from t)) (select c (from u)))))"},
      {"1 WHERE a LIKE 'x%'", "1 (where (like a 'x%'))"},
      {"1 WHERE a NOT LIKE 'x!%' ESCAPE '!'", "1 (where (not-like a 'x!%' '!'))"},
      {"1 WHERE a LIKE SUBSTRING(@k,1,@n)+'%'",
       "1 (where (like a (+ (call substring @k 1 @n) '%')))"},
      {"1 WHERE a BETWEEN 1 AND 2 AND b = 1", "1 (where (AND (between a 1 2) (= b 1)))"},
      {"1 WHERE a NOT BETWEEN b + 1 AND c", "1 (where (not-between a (+ b 1) c))"},
      {"1 WHERE a IS NULL OR b IS NOT NULL", "1 (where (OR (is-null a) (is-not-null b)))"},
      {"1 WHERE EXISTS (SELECT * FROM t)", "1 (where (exists (select * (from t))))"},
      {"1 WHERE NOT EXISTS (SELECT 1)", "1 (where (not-exists (select 1)))"},
      {"1 WHERE NOT (a < 0)", "1 (where (NOT (< a 0)))"},
      {"1 WHERE 0 = (SELECT count(*) FROM t)", "1 (where (= 0 (subquery (select (call count *) (from t)))))"},
      // Names and calls.
      {"a", "a"},
      {"t.a", "t.a"},
      {"[db].[dbo].[t].[c]", "db.dbo.t.c"},
      {"[a]]b].\"c d\"", "[a]b].[c d]"},
      {"count(*)", "(call count *)"},
      {"COUNT(DISTINCT a)", "(call count DISTINCT a)"},
      {"count(ALL a)", "(call count a)"},
      {"dbo.f(x)", "(call dbo.f x)"},
      {"[dbo].[NextId]()", "(call dbo.nextid)"},
      {"getdate()", "(call getdate)"},
      {"isnull((SELECT MAX(RecId) FROM t WITH (READUNCOMMITTED)),0) + 1",
       "(+ (call isnull (subquery (select (call max RecId) (from (tbl t hints(READUNCOMMITTED))))) 0) 1)"},
      {"LEFT(@t, 1)", "(call left @t 1)"},
      {"right(@t, 4)", "(call right @t 4)"},
      {"COALESCE(a, b, 0)", "(call coalesce a b 0)"},
      {"NULLIF(a, 0)", "(call nullif a 0)"},
      {"CURRENT_TIMESTAMP", "(call current_timestamp)"},
      {"current_user", "(call current_user)"},
      {"SYSTEM_USER", "(call system_user)"},
      {"CAST(@v AS integer)", "(cast integer @v)"},
      {"cast(a as varchar(max))", "(cast varchar(max) a)"},
      {"CAST(a AS decimal(10, 2))", "(cast decimal(10,2) a)"},
      {"convert(char(4),[A])", "(convert char(4) A)"},
      {"CASE WHEN a = 1 THEN 'x' WHEN a = 2 THEN 'y' ELSE 'z' END",
       "(case (when (= a 1) 'x') (when (= a 2) 'y') (else 'z'))"},
      {"CASE a WHEN 1 THEN 'x' END", "(case a (when 1 'x'))"},
      {"CASE WHEN 1 = [LAGER] OR SUBSTRING([BEZ],1,1) = 'X' THEN 1 ELSE 0 END",
       "(case (when (OR (= 1 LAGER) (= (call substring BEZ 1 1) 'X')) 1) (else 0))"},
      {"(SELECT TOP 1 a FROM t ORDER BY a DESC)",
       "(subquery (select (top 1) a (from t) (order (desc a))))"},
  };
  ExpectExpressions(std::begin(cases), std::end(cases));
}

TEST(ParseExprTest, ParameterMarkersNumberAcrossTheBatch) {
  EXPECT_EQ(ParseAndPrint("SELECT ?, ? FROM t WHERE a = ?\nUPDATE t SET a = ? WHERE b = ?"),
            "(select ?0 ?1 (from t) (where (= a ?2)))\n"
            "(update t (set (= a ?3)) (where (= b ?4)))");
}

}  // namespace
}  // namespace sqlsim::testing
