// Names and shapes of the sample definitions' server objects, written out
// here so that the tests do not take them from the generators they check.
#pragma once

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "include/lerv32.h"

namespace scripts {

struct SampleNames {
  std::string sample;
  std::string base;   // view and procedure names
  std::string table;  // the physical table
  bool key_tables;
};

inline void PrintTo(const SampleNames& names, std::ostream* os) { *os << names.sample; }

inline const std::vector<SampleNames>& AllSampleNames() {
  static const std::vector<SampleNames> names = {
      {"kunde", "KUNDE", "ut_KUNDE", false},
      {"artikel", "M01_ARTIKEL", "M01$ARTIKEL", true},
      {"leer", "LEER", "ut_LEER", false},
      {"zahlen", "ZAHLEN", "ut_ZAHLEN", true},
  };
  return names;
}

inline bool IsTextField(const FieldDef& f) { return f.Type == 'C' || f.Type == 'c' || f.Type == 'u'; }

// "name:xtype" of every table, view, procedure, function and trigger the
// create script (and dpxfunc.sql) leave behind.
std::set<std::string> ExpectedObjects(const TableDef& td, const SampleNames& names);
// "table.index" of every Ik_ index.
std::set<std::string> ExpectedIndexes(const TableDef& td, const SampleNames& names);

}  // namespace scripts
