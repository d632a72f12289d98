#include "tools/lerv/script_batches.h"

namespace lerv {
namespace {

bool IsGoLine(std::string_view line) {
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  return line.size() == 2 && (line[0] == 'G' || line[0] == 'g') && (line[1] == 'O' || line[1] == 'o');
}

bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

}  // namespace

std::vector<ScriptBatch> SplitScript(std::string_view script) {
  std::vector<ScriptBatch> batches;
  ScriptBatch batch;
  int line = 1;
  size_t at = 0;
  auto finish = [&] {
    if (!IsBlank(batch.text)) batches.push_back(batch);
    batch = ScriptBatch{};
  };
  while (at < script.size()) {
    // At the start of a line.
    if (script.compare(at, 2, "/*") == 0) {
      const size_t end = script.find("*/", at + 2);
      if (end == std::string_view::npos) break;  // the text ends inside the comment
      for (size_t i = at; i < end; ++i) line += script[i] == '\n';
      at = end + 2;
      continue;
    }
    size_t next = script.find('\n', at);
    if (next == std::string_view::npos) next = script.size();
    std::string_view text = script.substr(at, next - at);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    if (IsGoLine(text)) {
      finish();
    } else {
      if (IsBlank(batch.text)) batch.line = line;
      batch.text.append(text).append("\r\n");
    }
    at = next + 1;
    ++line;
  }
  finish();
  return batches;
}

}  // namespace lerv
