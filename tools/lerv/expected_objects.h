// What a table's generated script creates, read from the script itself:
// tables with their columns, views, procedures, functions and triggers
// with their texts, indexes with their tables.
#pragma once

#include <string>
#include <vector>

namespace lerv {

struct ExpectedColumn {
  std::string name;
  std::string type;  // as the script writes it: "char(30)", "integer", ...
};

struct ExpectedObject {
  enum class Kind { kTable, kView, kProcedure, kFunction, kTrigger, kIndex };
  Kind kind;
  std::string name;
  std::string table;                   // of an index or trigger
  std::string text;                    // of a view, procedure, function or trigger
  std::vector<ExpectedColumn> columns;  // of a table
};

std::vector<ExpectedObject> ExpectedObjects(const std::string& script);

// "Tabelle", "Prozedur" ...
const char* KindName(ExpectedObject::Kind kind);

}  // namespace lerv
