// Every export of LERV32 and LEBASE32 called with hostile arguments, one
// row per export and hostile variant with the value the call must give:
// null pointers, numbers and sizes of zero and below, spoiled TableDefs,
// texts without a terminator where a size is stated, and handles that are
// none. A row fails when the call gives another value, writes outside a
// stated buffer (guard bytes) or crashes; under AddressSanitizer a read or
// write outside any block fails it too. Every name of the export lists has
// rows.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "hostile/hostile.h"

namespace hostile {
namespace {

Rows AllRows() {
  Rows rows;
  for (Rows part :
       {LibraryRows(), TableDefRows(), DefinitionRows(), RecordRows(), CursorRows(), BlobRows(), SupportRows()}) {
    rows.insert(rows.end(), part.begin(), part.end());
  }
  return rows;
}

const Rows& TheRows() {
  static const Rows rows = AllRows();
  return rows;
}

class HostileCall : public ::testing::TestWithParam<size_t> {};

TEST_P(HostileCall, GivesItsFailureValue) {
  const Row& row = TheRows()[GetParam()];
  SCOPED_TRACE(row.export_name + ": " + row.variant);
  EXPECT_EQ(row.call(TheWorld()), row.expected) << row.export_name << ", " << row.variant;
}

// "rv_FieldToString__TableDef_FieldCnt_1": letters, digits and underscores.
std::string NameOf(const ::testing::TestParamInfo<size_t>& info) {
  const Row& row = TheRows()[info.param];
  std::string name = row.export_name + "__";
  for (char c : row.variant) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name + "_" + std::to_string(info.param);
}

INSTANTIATE_TEST_SUITE_P(Rows, HostileCall, ::testing::Range<size_t>(0, TheRows().size()), NameOf);

// The names after EXPORTS in a .def file.
std::set<std::string> Exports(const std::string& path) {
  std::ifstream in(path);
  std::set<std::string> names;
  bool exports = false;
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string word;
    if (!(words >> word) || word[0] == ';') continue;
    if (word == "EXPORTS") {
      exports = true;
    } else if (exports && word != "LIBRARY") {
      names.insert(word);
    }
  }
  return names;
}

TEST(HostileRows, EveryExportHasRows) {
  std::map<std::string, int> rows_of;
  for (const Row& row : TheRows()) ++rows_of[row.export_name];
  std::set<std::string> exported;
  for (const char* def : {LERV32_DEF, LEBASE32_DEF, LEBASE32_UNIX_DEF}) {
    const std::set<std::string> names = Exports(def);
    EXPECT_FALSE(names.empty()) << def;
    exported.insert(names.begin(), names.end());
  }
  for (const std::string& name : exported) EXPECT_GT(rows_of[name], 0) << name << " has no hostile row";
  for (const auto& [name, count] : rows_of)
    EXPECT_EQ(exported.count(name), 1u) << name << " is exported by neither library";
}

}  // namespace
}  // namespace hostile
