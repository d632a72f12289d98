#include "tools/lerv/record_table.h"

#include <algorithm>

#include <fmt/format.h>

#include "tools/lerv/record_lines.h"
#include "tools/lerv/terminal_text.h"

namespace lerv {
namespace {

std::string FieldText(const TableDef* td, int32_t field, const char* rec) {
  std::vector<char> text(std::max<size_t>(td->Fields[field].Len, 20) + 1, '\0');
  rv_FieldToString(td, field, rec, text.data());
  return RecordTextToUtf8(text.data());
}

std::string Padded(const std::string& text, size_t width, bool right) {
  const size_t blanks = width > ScreenWidth(text) ? width - ScreenWidth(text) : 0;
  return right ? std::string(blanks, ' ') + text : text + std::string(blanks, ' ');
}

bool IsNumber(const TableDef* td, size_t column) {
  if (column == 0) return true;
  return IsNumberType(static_cast<char>(td->Fields[column - 1].Type));
}

}  // namespace

RecordTable::RecordTable(const TableDef* td) : td_(td) {
  std::vector<std::string> header{"RecId"};
  for (int32_t i = 0; i < td->FieldCnt; ++i) header.push_back(td->Fields[i].Name);
  rows_.push_back(header);
}

void RecordTable::Add(int32_t rec_id, const char* rec) {
  std::vector<std::string> row{std::to_string(rec_id)};
  for (int32_t i = 0; i < td_->FieldCnt; ++i) row.push_back(FieldText(td_, i, rec));
  rows_.push_back(row);
}

std::string RecordTable::Render() const {
  std::vector<size_t> widths(rows_.front().size(), 0);
  for (const auto& row : rows_) {
    for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], ScreenWidth(row[c]));
  }
  std::string out;
  for (size_t r = 0; r < rows_.size(); ++r) {
    std::string line;
    for (size_t c = 0; c < rows_[r].size(); ++c) {
      line += (c ? "  " : "") + Padded(rows_[r][c], widths[c], r > 0 && IsNumber(td_, c));
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line + "\n";
    if (r == 0) {
      std::string rule;
      for (size_t c = 0; c < widths.size(); ++c) rule += (c ? "  " : "") + std::string(widths[c], '-');
      out += rule + "\n";
    }
  }
  return out;
}

std::string RecordBlock(const TableDef* td, int32_t rec_id, const char* rec) {
  size_t width = 5;
  for (int32_t i = 0; i < td->FieldCnt; ++i) width = std::max(width, std::string(td->Fields[i].Name).size());
  std::string out = fmt::format("{:<{}}  {}\n", "RecId", width, rec_id);
  for (int32_t i = 0; i < td->FieldCnt; ++i) {
    out += fmt::format("{:<{}}  {}\n", td->Fields[i].Name, width, FieldText(td, i, rec));
  }
  return out;
}

}  // namespace lerv
