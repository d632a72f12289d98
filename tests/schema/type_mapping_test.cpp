#include <gtest/gtest.h>

#include <string>

#include "fields/test_table.h"
#include "include/lerv32.h"

namespace {

using testtable::TestTable;

constexpr const char* kDateDefault = "CONVERT(datetime,'1900-01-01',120)";

TEST(TypeMappingTest, EachTypeLetterMapsToItsColumn) {
  struct Case {
    char type; int len; int dec;
    int32_t sql_type; uint32_t sql_len; uint32_t scale;
    const char* transact_name; const char* standard_name; const char* default_value;
  };
  const Case cases[] = {
      {'C', 12, 0, 1, 12, 0, "char(12)", "char(12)", "' '"},
      {'u', 5, 0, 1, 5, 0, "char(5)", "char(5)", "' '"},
      {'z', 3, 0, 1, 3, 0, "char(3)", "char(3)", "' '"},
      {'c', 40, 0, 1, 40, 0, "varchar(40)", "varchar(40)", "' '"},
      {'D', 10, 0, 9, 6, 0, "datetime", "datetime", kDateDefault},
      {'o', 4, 0, 9, 6, 0, "datetime", "datetime", kDateDefault},
      {'L', 1, 0, -6, 1, 0, "tinyint", "byte", "0"},
      {'b', 1, 0, -6, 1, 0, "tinyint", "byte", "0"},
      {'N', 10, 2, 8, 8, 2, "float", "float", "0"},
      {'N', 9, 0, 8, 8, 0, "integer", "integer", "0"},
      {'N', 8, 0, 4, 4, 0, "integer", "integer", "0"},
      {'d', 8, 3, 8, 8, 3, "float", "float", "0"},
      {'n', 5, 2, 8, 8, 2, "float", "float", "0"},
      {'l', 4, 0, 4, 4, 0, "integer", "integer", "0"},
      {'x', 4, 0, 4, 4, 0, "integer", "integer", "0"},
      {'s', 2, 0, 5, 2, 0, "smallint", "smallint", "0"},
  };
  for (const Case& c : cases) {
    TestTable table;
    table.Add(c.type, c.len, c.dec);
    TableDef* td = table.td();
    SCOPED_TRACE(std::string(1, c.type) + std::to_string(c.len));
    EXPECT_EQ(rv_SqlFieldType(td, 0), c.sql_type);
    EXPECT_EQ(rv_SqlFieldLen(td, 0), c.sql_len);
    EXPECT_EQ(rv_SqlFieldScale(td, 0), c.scale);
    EXPECT_STREQ(rv_SqlFieldTypeNameEx(td, 0, 1), c.transact_name);
    EXPECT_STREQ(rv_SqlFieldTypeNameEx(td, 0, 0), c.standard_name);
    EXPECT_STREQ(rv_SqlFieldTypeName(td, 0), c.transact_name);
    EXPECT_STREQ(rv_SqlFieldDefault(td, 0), c.default_value);
  }
}

}  // namespace
