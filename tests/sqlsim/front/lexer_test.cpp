#include "sqlsim/front/lexer.h"

#include <gtest/gtest.h>

#include <string>

namespace sqlsim {
namespace {

// "kind:text" per token, blank-separated, without the end token.
std::string Dump(const std::vector<Token>& tokens) {
  std::string out;
  for (const Token& t : tokens) {
    if (t.kind == TokenKind::kEnd) break;
    if (!out.empty()) out += ' ';
    static const char* const kKinds[] = {"end", "w", "q", "v", "s", "i", "d", "f", "b", "p", "sym"};
    out += kKinds[static_cast<int>(t.kind)] + std::string(t.national ? "N" : "") + ":";
    if (t.kind == TokenKind::kBinary) {
      for (unsigned char c : t.text) out += std::to_string(c) + ",";
    } else if (t.kind == TokenKind::kParameter) {
      out += std::to_string(t.param_index);
    } else {
      out += t.text;
    }
  }
  return out;
}

TEST(LexerTest, SplitsTokens) {
  struct {
    const char* text;
    const char* tokens;
  } const cases[] = {
      {"SELECT a FROM t", "w:SELECT w:a w:FROM w:t"}, {"[a]]b] [x y] \"q\"\"r\"", "q:a]b q:x y q:q\"r"},
      {"#tmp ##global @v @@ERROR a$b", "w:#tmp w:##global v:@v v:@@ERROR w:a$b"},
      {"'it''s' N'x' n'y' ''", "s:it's sN:x sN:y s:"},
      {"12 12.5 .5 12. 1e3 1.5E-3 2e+1", "i:12 d:12.5 d:.5 d:12. f:1e3 f:1.5E-3 f:2e+1"},
      // A number runs into a following word without a blank, as the server reads it.
      {"1abc 1e", "i:1 w:abc i:1 w:e"}, {"0x4142 0x123 0x", "b:65,66, b:1,35, b:"}, {"? ? ?", "p:0 p:1 p:2"},
      {"a<>b!=c<=d>=e!<f!>g", "w:a sym:<> w:b sym:!= w:c sym:<= w:d sym:>= w:e sym:!< w:f sym:!> w:g"},
      {"+-*/%&|^~(),.;=<>", "sym:+ sym:- sym:* sym:/ sym:% sym:& sym:| sym:^ sym:~ sym:( sym:) sym:, sym:. sym:; sym:= sym:<>"},
      {"a -- comment\nb", "w:a w:b"}, {"a /* x /* nested */ still */ b", "w:a w:b"}, {"a/**/b", "w:a w:b"},
      {"a-b", "w:a sym:- w:b"}, {"K\xE4se", "w:K\xE4se"}, {"", ""},
  };
  for (const auto& c : cases) {
    Diagnostics errors;
    std::vector<Token> tokens = Tokenize(c.text, &errors);
    EXPECT_TRUE(errors.empty()) << c.text;
    EXPECT_EQ(Dump(tokens), c.tokens) << c.text;
    ASSERT_FALSE(tokens.empty());
    EXPECT_EQ(tokens.back().kind, TokenKind::kEnd);
  }
}

TEST(LexerTest, KeepsPositions) {
  Diagnostics errors;
  std::vector<Token> tokens = Tokenize("SELECT\r\n  [x],\n/* a\nb */ 'y'", &errors);
  ASSERT_EQ(tokens.size(), 5u);
  EXPECT_EQ(tokens[1].pos.line, 2);
  EXPECT_EQ(tokens[1].pos.column, 3);
  EXPECT_EQ(tokens[1].pos.offset, 10u);
  EXPECT_EQ(tokens[1].end, 13u);
  EXPECT_EQ(tokens[2].pos.line, 2);
  EXPECT_EQ(tokens[3].pos.line, 4);
  EXPECT_EQ(tokens[3].pos.column, 6);
}

TEST(LexerTest, ReportsErrors) {
  const std::string long_name(129, 'x');
  const std::string name128(128, 'x');
  const std::string too_long_message =
      "The identifier that starts with '" + name128 + "' is too long. Maximum length is 128.";
  struct {
    const char* text;
    int32_t number;
    int32_t line;
    const char* message;
  } const cases[] = {
      {"SELECT 'abc", 105, 1, "Unclosed quotation mark after the character string 'abc'."},
      {"SELECT\n'ab''c\nd", 105, 2, "Unclosed quotation mark after the character string 'ab''c\nd'."},
      {"SELECT N'", 105, 1, "Unclosed quotation mark after the character string ''."},
      {"SELECT [abc", 105, 1, "Unclosed quotation mark after the character string 'abc'."},
      {"SELECT \"abc]", 105, 1, "Unclosed quotation mark after the character string 'abc]'."},
      {"SELECT 1\n/* a /* b */", 113, 2, "Missing end comment mark '*/'."},
      {"/*", 113, 1, "Missing end comment mark '*/'."},
      {"SELECT 1 AS\n[]", 1038, 2,
       "An object or column name is missing or empty. For SELECT INTO statements, verify each column has a name. "
       "For other statements, look for empty alias names. Aliases defined as \"\" or [] are not allowed. Change "
       "the alias to a valid name."},
  };
  for (const auto& c : cases) {
    Diagnostics errors;
    std::vector<Token> tokens = Tokenize(c.text, &errors);
    ASSERT_EQ(errors.size(), 1u) << c.text;
    EXPECT_EQ(errors[0].native, c.number) << c.text;
    EXPECT_EQ(errors[0].line, c.line) << c.text;
    EXPECT_EQ(errors[0].message, c.message) << c.text;
    EXPECT_EQ(tokens.back().kind, TokenKind::kEnd);
  }
  for (const std::string& text : {long_name, "[" + long_name + "]", "@" + long_name}) {
    Diagnostics errors;
    Tokenize(text, &errors);
    ASSERT_EQ(errors.size(), 1u) << text;
    EXPECT_EQ(errors[0].native, 103);
    EXPECT_EQ(errors[0].message.substr(0, 33), too_long_message.substr(0, 33));
    EXPECT_TRUE(text != long_name || errors[0].message == too_long_message) << errors[0].message;
  }
  Diagnostics errors;
  Tokenize(name128 + " [" + name128 + "]", &errors);
  EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace sqlsim
