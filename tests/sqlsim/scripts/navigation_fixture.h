// A table created by the generated scripts and filled with records whose
// keys collide, carry quotes, umlauts, mixed case, negative numbers and
// dates, for checking the navigation procedures against the model.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/sqlsim/scripts/navigation_calls.h"
#include "tests/sqlsim/scripts/navigation_model.h"
#include "tests/sqlsim/scripts/script_runner.h"

namespace nav {

// A key of the test table: its name as generated and its fields.
struct KeyCase {
  std::string name;
  std::vector<KeyField> fields;
};

class NavigationTest : public scripts::ScriptTest {
 protected:
  // Creates the table of the definition lines (no tenant) with the table
  // script, the basic procedures and every key's index script.
  void Create(const std::vector<std::string>& lines);
  // One INSERT per record into table, the columns as given.
  void Insert(const std::string& table, const std::vector<KeyField>& columns, const std::vector<Record>& records);

  RecIds Call(const std::string& sql) { return nav::Call(dbc(), sql); }
  static std::string Proc(const char* prefix, const std::string& base, const std::string& key) {
    return std::string(prefix) + base + "_" + key;
  }
  // Starts at first, steps until an empty answer (or a row with 0 when
  // zero_ends); stops after cap steps so that a cycle cannot hang the test.
  static RecIds Walk(const RecIds& first, const std::function<RecIds(int32_t)>& step, bool zero_ends,
                     size_t cap);

  testenv::TableDefPtr td_;
};

// Text values of the records: collisions under case folding, quotes,
// Windows-1252 umlauts and sharp s, blanks.
const std::vector<std::string>& SampleNames();
// Records 1..count with scattered record ids and repeating values.
std::vector<Record> MakeRecords(int count);

}  // namespace nav
