#include "sqlsim/odbc/escapes.h"

#include <cctype>
#include <vector>

#include "sqlsim/odbc/escape_functions.h"
#include "sqlsim/odbc/escape_scan.h"

namespace sqlsim::odbc {

namespace {

// Deeper nesting than any statement needs; it keeps the stack bounded.
constexpr int kMaxDepth = 64;

class EscapeTranslator {
 public:
  explicit EscapeTranslator(std::string_view text) : text_(text) {}

  bool Run(std::string* out) { return CopyUntilClose(0, out); }
  const Diagnostic& error() const { return error_; }

 private:
  // Copies text to out, escapes translated, up to the end or (depth > 0)
  // up to the '}' that closes the escape being read, which stays unread.
  // A '}' that closes nothing is left for the engine to refuse.
  bool CopyUntilClose(int depth, std::string* out) {
    while (pos_ < text_.size()) {
      const size_t inert_end = SkipInert(text_, pos_);
      if (inert_end != pos_) {
        out->append(text_.substr(pos_, inert_end - pos_));
        pos_ = inert_end;
      } else if (text_[pos_] == '{') {
        if (!Escape(depth + 1, out)) return false;
      } else if (text_[pos_] == '}' && depth > 0) {
        return true;
      } else {
        out->push_back(text_[pos_++]);
      }
    }
    return depth == 0 || Fail("{");
  }

  // The escape at '{': its keyword, then its body read up to its '}'.
  bool Escape(int depth, std::string* out) {
    if (depth > kMaxDepth) return Fail("{");
    ++pos_;
    SkipBlanks();
    bool returns_status = false;
    if (pos_ < text_.size() && text_[pos_] == '?') {
      ++pos_;
      SkipBlanks();
      if (pos_ >= text_.size() || text_[pos_] != '=') return Fail("?");
      ++pos_;
      SkipBlanks();
      returns_status = true;
    }
    const std::string_view keyword = ReadKeyword();
    if (keyword.empty()) return Fail(pos_ < text_.size() ? text_.substr(pos_, 1) : "{");
    if (returns_status && !EqualsNoCase(keyword, "call")) return Fail(keyword);
    std::string body;
    if (!CopyUntilClose(depth, &body)) return false;
    ++pos_;  // the '}'
    return Rewrite(keyword, TrimBlanks(body), returns_status, out);
  }

  bool Rewrite(std::string_view keyword, std::string_view body, bool returns_status, std::string* out) {
    if (EqualsNoCase(keyword, "d")) return Literal(keyword, body, "CONVERT(datetime, $, 120)", out);
    if (EqualsNoCase(keyword, "ts")) return Literal(keyword, body, "CONVERT(datetime, $, 121)", out);
    // The server gives a time alone today's date.
    if (EqualsNoCase(keyword, "t")) {
      return Literal(keyword, body, "CONVERT(datetime, CONVERT(char(10), GETDATE(), 120) + ' ' + $, 121)", out);
    }
    if (EqualsNoCase(keyword, "guid")) return Literal(keyword, body, "$", out);
    if (EqualsNoCase(keyword, "fn")) return Function(body, out);
    if (EqualsNoCase(keyword, "oj")) return Plain(keyword, "", body, out);
    if (EqualsNoCase(keyword, "escape")) return Plain(keyword, "ESCAPE ", body, out);
    if (EqualsNoCase(keyword, "call")) return Call(body, returns_status, out);
    return Fail(keyword);  // {interval ...} among them: no interval types
  }

  // body must be one string literal; it takes the place of form's '$'.
  bool Literal(std::string_view keyword, std::string_view body, std::string_view form, std::string* out) {
    if (body.empty() || body[0] != '\'' || SkipInert(body, 0) != body.size() || body.back() != '\'' ||
        body.size() < 2) {
      return Fail(keyword);
    }
    const size_t mark = form.find('$');
    out->append(form.substr(0, mark)).append(body).append(form.substr(mark + 1));
    return true;
  }

  bool Plain(std::string_view keyword, std::string_view prefix, std::string_view body, std::string* out) {
    if (body.empty()) return Fail(keyword);
    out->append(prefix).append(body);
    return true;
  }

  bool Function(std::string_view body, std::string* out) {
    size_t open = 0;
    while (open < body.size() && (std::isalnum(static_cast<unsigned char>(body[open])) || body[open] == '_')) {
      ++open;
    }
    const std::string_view name = body.substr(0, open);
    while (open < body.size() && IsBlank(body[open])) ++open;
    if (name.empty() || open >= body.size() || body[open] != '(') return Fail(name.empty() ? "fn" : name);
    if (MatchingParenthesis(body, open) != body.size() - 1) return Fail(name);
    out->append(ScalarFunctionCall(name, Arguments(body.substr(open + 1, body.size() - open - 2))));
    return true;
  }

  // {call p(a, , c)} -> EXEC p a, DEFAULT, c; {? = call p} -> EXEC ? = p.
  bool Call(std::string_view body, bool returns_status, std::string* out) {
    size_t open = 0;
    while (open < body.size() && body[open] != '(' && !IsBlank(body[open])) {
      const size_t inert_end = SkipInert(body, open);
      open = inert_end != open ? inert_end : open + 1;
    }
    const std::string_view name = body.substr(0, open);
    while (open < body.size() && IsBlank(body[open])) ++open;
    if (name.empty()) return Fail("call");
    if (open < body.size() && body[open] != '(') return Fail(name);  // arguments belong in parentheses
    std::vector<std::string> args;
    if (open < body.size()) {
      if (MatchingParenthesis(body, open) != body.size() - 1) return Fail(name);
      args = Arguments(body.substr(open + 1, body.size() - open - 2));
    }
    out->append(returns_status ? "EXEC ? = " : "EXEC ").append(name);
    for (size_t i = 0; i < args.size(); ++i) {
      out->append(i ? ", " : " ").append(args[i].empty() ? "DEFAULT" : args[i]);
    }
    return true;
  }

  static std::vector<std::string> Arguments(std::string_view inside) {
    if (TrimBlanks(inside).empty()) return {};
    return SplitArguments(inside);
  }

  std::string_view ReadKeyword() {
    const size_t start = pos_;
    while (pos_ < text_.size() && std::isalpha(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    return text_.substr(start, pos_ - start);
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  }

  bool Fail(std::string_view place) {
    error_ = ServerError(102, "Incorrect syntax near '" + std::string(place) + "'.");
    return false;
  }

  std::string_view text_;
  size_t pos_ = 0;
  Diagnostic error_;
};

}  // namespace

EscapeTranslation TranslateEscapes(std::string_view text) {
  EscapeTranslation translated;
  EscapeTranslator translator(text);
  translated.ok = translator.Run(&translated.text);
  if (!translated.ok) {
    translated.text.clear();
    translated.error = translator.error();
  }
  return translated;
}

}  // namespace sqlsim::odbc
