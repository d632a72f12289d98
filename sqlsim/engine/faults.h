// Fault injection for the tests of clients. A client sets rules with
//   EXECUTE sqlsim_fault 'execute', '<pattern>', <count>, '<sqlstate>', <native> [, '<message>']
//   EXECUTE sqlsim_fault 'info',    '<pattern>', <count>, '<sqlstate>', <native> [, '<message>']
//   EXECUTE sqlsim_fault 'putdata', '',          <count>, '<sqlstate>', <native> [, '<message>']
//   EXECUTE sqlsim_fault 'getdata', '<after>',   <count>, '<sqlstate>', <native> [, '<message>']
//   EXECUTE sqlsim_fault 'fetch',   '<after>',   <count>, '<sqlstate>', <native> [, '<message>']
//   EXECUTE sqlsim_fault 'clear'
// 'execute' fails the next <count> statements whose text matches the LIKE
// pattern (% and _, case-insensitive) without running them; 'info' runs them
// and adds an informational message; 'putdata' fails the next SQLPutData
// calls; 'getdata' lets <after> SQLGetData calls (a number, '' for none)
// pass and fails the <count> after them; 'fetch' does so with fetches.
// For 'getdata' and 'fetch' <after> may instead be a pattern: the calls on
// a statement whose text matches it fail. Rules hold for the whole process, so a test may set them on one
// connection and hit them on another.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sqlsim/diagnostic.h"

namespace sqlsim {

struct FaultRule {
  enum class Kind { kExecute, kInfo, kPutData, kGetData, kFetch };
  Kind kind = Kind::kExecute;
  std::string pattern;
  int32_t remaining = 1;
  int64_t pass_first = 0;  // calls let through before the rule fails any
  Diagnostic diagnostic;
};

void AddFault(FaultRule rule);
void ClearFaults();

// The diagnostic of the first rule of the kind that matches the statement
// text, counting the rule down; nullopt when none matches.
std::optional<Diagnostic> TakeFault(FaultRule::Kind kind, std::string_view text);

// Case-insensitive LIKE with % and _ only.
bool MatchesFaultPattern(std::string_view text, std::string_view pattern);

}  // namespace sqlsim
