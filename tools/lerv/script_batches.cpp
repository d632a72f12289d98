#include "tools/lerv/script_batches.h"

#include <fmt/format.h>

#include "tools/lerv/failure.h"

namespace lerv {
namespace {

// How often the batch before a GO line runs (GO, or GO n with blanks
// around and a "--" comment after it); 0 for any other line.
int GoCount(std::string_view line) {
  const size_t comment = line.find("--");
  if (comment != std::string_view::npos) line = line.substr(0, comment);
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  if (line.size() < 2 || (line[0] != 'G' && line[0] != 'g') || (line[1] != 'O' && line[1] != 'o')) return 0;
  line.remove_prefix(2);
  if (line.empty()) return 1;
  if (line.front() != ' ' && line.front() != '\t') return 0;
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  int count = 0;
  for (char c : line) {
    if (c < '0' || c > '9' || count > 100000) return 0;
    count = count * 10 + (c - '0');
  }
  return count;
}

bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

}  // namespace

std::vector<ScriptBatch> SplitScript(std::string_view script) {
  std::vector<ScriptBatch> batches;
  ScriptBatch batch;
  int line = 1;
  // A byte order mark is no text of the script.
  size_t at = script.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  auto finish = [&](int count) {
    batch.repeat = count;
    if (!IsBlank(batch.text)) batches.push_back(batch);
    batch = ScriptBatch{};
  };
  while (at < script.size()) {
    // At the start of a line.
    if (script.compare(at, 2, "/*") == 0) {
      const size_t end = script.find("*/", at + 2);
      if (end == std::string_view::npos) throw Failure(fmt::format("Kommentar ab Zeile {} nicht geschlossen", line));
      for (size_t i = at; i < end; ++i) line += script[i] == '\n';
      at = end + 2;
      continue;
    }
    size_t next = script.find('\n', at);
    if (next == std::string_view::npos) next = script.size();
    std::string_view text = script.substr(at, next - at);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    if (const int count = GoCount(text)) {
      finish(count);
    } else {
      if (IsBlank(batch.text)) batch.line = line;
      batch.text.append(text).append("\r\n");
    }
    at = next + 1;
    ++line;
  }
  finish(1);
  return batches;
}

}  // namespace lerv
