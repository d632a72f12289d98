// Field values of the sample tables as the tests pass and expect them:
// binding by column type and comparison of values read back as text.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "include/lerv32.h"
#include "tests/sqlsim/scripts/script_runner.h"

namespace scripts {

enum class Kind { kText, kInteger, kFloat, kDate };

// The kind of a field's column, from its letter.
Kind FieldKind(const FieldDef& field);

// One parameter per field, each bound with its column's type.
std::vector<Param> FieldParams(const TableDef& td, const std::vector<std::string>& values);

// Whether row[offset + f] holds what field f should hold after storing
// expected[f]: text right-trimmed and blank-padded to the field length,
// numbers by value, dates to the second.
::testing::AssertionResult RowMatches(const TableDef& td, const std::vector<std::string>& row, std::size_t offset,
                                      const std::vector<std::string>& expected);

// "EXECUTE [prefix<base>] ?,?,..." with one marker per field, after
// `leading` further markers.
std::string ExecuteWithMarkers(const std::string& procedure, const TableDef& td, int leading = 0);

std::string RightTrim(const std::string& s);
std::string PadRight(const std::string& s, std::size_t width);

}  // namespace scripts
