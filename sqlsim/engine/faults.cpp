#include "sqlsim/engine/faults.h"

#include <atomic>
#include <cctype>
#include <mutex>
#include <vector>

#include "sqlsim/engine/engine.h"

namespace sqlsim {
namespace {

std::mutex g_mutex;
// Rules in force: lets every statement skip the lock when there are none.
std::atomic<size_t> g_rule_count{0};
std::vector<FaultRule>& Rules() {
  static std::vector<FaultRule> rules;
  return rules;
}

bool SameLetter(char a, char b) {
  return std::tolower(static_cast<unsigned char>(a)) ==
         std::tolower(static_cast<unsigned char>(b));
}

}  // namespace

// Iterative matcher with one backtrack point per %: linear in practice and
// never recursive, whatever the pattern.
bool MatchesFaultPattern(std::string_view text, std::string_view pattern) {
  size_t t = 0, p = 0, star_p = std::string_view::npos, star_t = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '%') {
      star_p = p++;
      star_t = t;
    } else if (p < pattern.size() && (pattern[p] == '_' || SameLetter(pattern[p], text[t]))) {
      ++p;
      ++t;
    } else if (star_p != std::string_view::npos) {
      p = star_p + 1;
      t = ++star_t;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '%') ++p;
  return p == pattern.size();
}

void AddFault(FaultRule rule) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Rules().push_back(std::move(rule));
  g_rule_count = Rules().size();
}

void ClearFaults() {
  std::lock_guard<std::mutex> lock(g_mutex);
  Rules().clear();
  g_rule_count = 0;
}

std::optional<Diagnostic> TakeFault(FaultRule::Kind kind, std::string_view text) {
  if (g_rule_count == 0) return std::nullopt;
  std::lock_guard<std::mutex> lock(g_mutex);
  auto& rules = Rules();
  for (auto it = rules.begin(); it != rules.end(); ++it) {
    if (it->kind != kind || !MatchesFaultPattern(text, it->pattern)) continue;
    if (it->pass_first > 0) {
      --it->pass_first;
      return std::nullopt;
    }
    Diagnostic diagnostic = it->diagnostic;
    if (--it->remaining <= 0) {
      rules.erase(it);
      g_rule_count = rules.size();
    }
    return diagnostic;
  }
  return std::nullopt;
}

std::optional<Diagnostic> TakePutDataFault() {
  return TakeFault(FaultRule::Kind::kPutData, "");
}

std::optional<Diagnostic> TakeGetDataFault(std::string_view statement) {
  return TakeFault(FaultRule::Kind::kGetData, statement);
}

std::optional<Diagnostic> TakeFetchFault(std::string_view statement) {
  return TakeFault(FaultRule::Kind::kFetch, statement);
}

}  // namespace sqlsim
