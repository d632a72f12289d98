// Identity values as clients see them: typed numeric(38,0), SCOPE_IDENTITY()
// limited to its batch, @@IDENTITY per connection, IDENT_CURRENT() across
// connections.
#include <gmock/gmock.h>

#include "odbc_support.h"

namespace odbctest {
namespace {

using ::testing::ElementsAre;

class IdentityTest : public OdbcTest {
 protected:
  void SetUp() override {
    OdbcTest::SetUp();
    Exec("CREATE TABLE T (Id int IDENTITY(1,1) PRIMARY KEY, Name varchar(20) NULL)");
  }
};

TEST_F(IdentityTest, ScopeConnectionAndTable) {
  Connection other;
  Connect(other);
  const struct {
    bool on_other;
    const char* sql;
    const char* rows;
  } cases[] = {
      {false, "INSERT INTO T (Name) VALUES ('a') SELECT SCOPE_IDENTITY()", "rows:1,"},
      // The next statement is a batch of its own: the classic ODBC trap.
      {false, "SELECT SCOPE_IDENTITY()", "rows:NULL,"},
      {false, "SELECT @@IDENTITY", "rows:1,"},
      {true, "SELECT @@IDENTITY", "rows:NULL,"},
      {true, "SELECT IDENT_CURRENT('T')", "rows:1,"},
      {true, "INSERT INTO T (Name) VALUES ('b') SELECT @@IDENTITY", "rows:2,"},
      {false, "SELECT @@IDENTITY", "rows:1,"},
      {false, "SELECT IDENT_CURRENT('T')", "rows:2,"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> results = Run(c.sql, c.on_other ? other.dbc() : dbc());
    EXPECT_THAT(results, testing::Contains(c.rows)) << c.sql;
  }
}

TEST_F(IdentityTest, PreparedInsertThenAtAtIdentity) {
  Statement insert(dbc());
  ASSERT_STMT_OK(Prepare(insert, "INSERT INTO T (Name) VALUES (?)"), insert);
  char name[] = "x";
  SQLLEN length = SQL_NTS;
  ASSERT_STMT_OK(SQLBindParameter(insert, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 20, 0, name, 0, &length),
                 insert);
  for (int i = 0; i < 3; ++i) ASSERT_STMT_OK(SQLExecute(insert), insert);
  EXPECT_THAT(Run("SELECT @@IDENTITY"), ElementsAre("rows:3,"));
  EXPECT_THAT(Run("SELECT SCOPE_IDENTITY()"), ElementsAre("rows:NULL,"));
}

}  // namespace
}  // namespace odbctest
