// The statement trace of a connection (TRACE=<file>): one line per batch the
// driver prepares or executes, so that a client's tests can assert exactly
// what it sent.
//   PREPARE<TAB>text
//   EXECUTE<TAB>text[<TAB>parameter]...
// Line ends and tabs inside the text are written as \n, \r and \t, and a
// backslash as \\; parameters as NULL, numbers, 'text' or 0xhex.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sqlsim/engine/engine.h"

namespace sqlsim {

class StatementTrace {
 public:
  explicit StatementTrace(std::string path) : path_(std::move(path)) {}
  bool enabled() const { return !path_.empty(); }
  void Prepared(std::string_view text) const;
  void Executed(std::string_view text, const std::vector<ParamValue>& params) const;

 private:
  void Append(const std::string& line) const;
  std::string path_;
};

std::string TraceLiteral(const Value& value);

}  // namespace sqlsim
