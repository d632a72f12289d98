// Records on the terminal: lined-up columns under the field names.
#pragma once

#include <string>
#include <vector>

#include "include/lerv32.h"

namespace lerv {

class RecordTable {
 public:
  explicit RecordTable(const TableDef* td);
  void Add(int32_t rec_id, const char* rec);
  std::string Render() const;
  size_t size() const { return rows_.size(); }

 private:
  const TableDef* td_;
  std::vector<std::vector<std::string>> rows_;  // RecId, then the fields, as UTF-8
};

// One record, a line per field: name and value.
std::string RecordBlock(const TableDef* td, int32_t rec_id, const char* rec);

}  // namespace lerv
