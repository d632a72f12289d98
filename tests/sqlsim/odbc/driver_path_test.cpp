// A client that has not registered the driver names its library instead.
#include <gmock/gmock.h>

#include "odbc_support.h"

namespace odbctest {
namespace {

TEST(DriverPathTest, ConnectsThroughThePathOfTheLibrary) {
  DataDir dir;
  Connection c;
  std::string completed;
  std::string text = std::string("DRIVER={") + SQLSIM_DRIVER_PATH + "};DATADIR=" + dir.path().string() +
                     ";DATABASE=bypath;AUTOCREATE=1";
  ASSERT_ODBC_OK(c.DriverConnect(text, &completed), SQL_HANDLE_DBC, c.dbc());
  EXPECT_THAT(completed, ::testing::HasSubstr("DATABASE=bypath"));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "bypath.db"));
}

}  // namespace
}  // namespace odbctest
