// The direct navigation procedures of a table without key tables: they query
// the data table by its key columns and answer a row with 0 at the ends.
#include <algorithm>

#include "tests/sqlsim/scripts/navigation_fixture.h"

namespace nav {
namespace {

const std::vector<std::string> kLines = {
    "ALIAS=NAVD",           "FIELD=NAME,C,12",          "FIELD=VORNAME,u,10",     "FIELD=KZ,C,1",
    "FIELD=PLZ,N,5",        "FIELD=DATUM,D",            "KEY=NAME_KEY,NAME,VORNAME", "KEY=KZ_KEY,KZ,NAME",
    "KEY=DAT_KEY,DATUM,NAME", "KEY=PLZ_KEY,NAME,PLZ"};
const std::vector<KeyField> kColumns = {{"NAME", 'C', 12, 0}, {"VORNAME", 'u', 10, 0}, {"KZ", 'C', 1, 0},
                                        {"PLZ", 'N', 5, 0},   {"DATUM", 'D', 10, 0}};
const std::vector<KeyCase> kKeys = {
    {"NAME_KEY", {{"NAME", 'C', 12, 0}, {"VORNAME", 'u', 10, 0}}},
    {"KZ_KEY", {{"KZ", 'C', 1, 0}, {"NAME", 'C', 12, 0}}},
    {"DAT_KEY", {{"DATUM", 'D', 10, 0}, {"NAME", 'C', 12, 0}}},
    {"PLZ_KEY", {{"NAME", 'C', 12, 0}, {"PLZ", 'N', 5, 0}}},
};
constexpr int kRecordCount = 40;

// Prefixes that end at a field's end, inside a text field, or beyond the
// key; a prefix ending inside a number or date field compares the column's
// text form, whose layout the search key does not settle.
bool Modelled(const KeyCase& key, int len) {
  int offset = 0;
  for (const KeyField& field : key.fields) {
    const int end = offset + field.len;
    if (len == end) return true;
    if (len < end) return len == offset ? offset > 0 || field.len > 1 : field.type != 'N' && field.type != 'D';
    offset = end;
  }
  return true;
}

bool TextOnly(const KeyCase& key) {
  return std::none_of(key.fields.begin(), key.fields.end(),
                      [](const KeyField& field) { return field.type == 'N' || field.type == 'D'; });
}

std::string LowerOf(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return text;
}

class DirectNavigationTest : public NavigationTest {
 protected:
  void SetUp() override {
    NavigationTest::SetUp();
    if (HasFatalFailure()) return;
    records_ = MakeRecords(kRecordCount);
    Create(kLines);
    if (HasFatalFailure()) return;
    Insert("ut_NAVD", kColumns, records_);
  }

  RecIds Step(const char* prefix, const KeyCase& key, int64_t rec_id) {
    return Call("EXECUTE [" + Proc(prefix, "NAVD", key.name) + "] " + std::to_string(rec_id));
  }

  std::vector<Record> records_;
};

TEST_F(DirectNavigationTest, WalksVisitEveryRecordOnceInKeyOrder) {
  for (const KeyCase& key : kKeys) {
    SCOPED_TRACE(key.name);
    const DirectModel model(key.fields, records_);
    RecIds reversed = model.Order();
    std::reverse(reversed.begin(), reversed.end());
    const size_t cap = records_.size();
    EXPECT_EQ(Walk(Call("EXECUTE [" + Proc("up_First_", "NAVD", key.name) + "]"),
                   [&](int32_t id) { return Step("up_Next_", key, id); }, true, cap),
              model.Order());
    EXPECT_EQ(Walk(Call("EXECUTE [" + Proc("up_Last_", "NAVD", key.name) + "]"),
                   [&](int32_t id) { return Step("up_Prior_", key, id); }, true, cap),
              reversed);
    PreparedRecIdCall next(dbc(), Proc("up_Next_", "NAVD", key.name));
    PreparedRecIdCall prior(dbc(), Proc("up_Prior_", "NAVD", key.name));
    EXPECT_EQ(Walk(model.First(), [&](int32_t id) { return next.Run(id); }, true, cap), model.Order());
    EXPECT_EQ(Walk(model.Last(), [&](int32_t id) { return prior.Run(id); }, true, cap), reversed);
  }
}

TEST_F(DirectNavigationTest, NeighboursAnswerZeroAtTheEndsAndForUnknownRecords) {
  for (const KeyCase& key : kKeys) {
    SCOPED_TRACE(key.name);
    const DirectModel model(key.fields, records_);
    std::vector<int64_t> ids = {4242, 0, -1};
    for (const Record& record : records_) ids.push_back(record.rec_id);
    for (int64_t id : ids) {
      SCOPED_TRACE("RecId " + std::to_string(id));
      EXPECT_EQ(Step("up_Next_", key, id), model.Next(id));
      EXPECT_EQ(Step("up_Prior_", key, id), model.Prior(id));
    }
    EXPECT_EQ(Step("up_Next_", key, model.Last()[0]), RecIds{0});
    EXPECT_EQ(Step("up_Prior_", key, model.First()[0]), RecIds{0});
  }
}

TEST_F(DirectNavigationTest, FindFirstAndLastByPrefix) {
  for (const KeyCase& key : kKeys) {
    SCOPED_TRACE(key.name);
    const DirectModel model(key.fields, records_);
    const int first_len = key.fields.front().len;
    const int size = model.KeySize();
    // Keys that match no record only where every field is text: a number or
    // date column compared with arbitrary text fails to convert.
    std::vector<std::string> keys;
    if (TextOnly(key)) keys = {"zzzzzzzzzzzzzzzzzzzzzzzzzzzzz", "Meierx", "'", "\xC4"};
    // Every third record keeps the call count bounded; the names repeat.
    for (size_t i = 0; i < records_.size(); i += 3) keys.push_back(SearchKey(key.fields, records_[i], false));
    keys.push_back(LowerOf(SearchKey(key.fields, records_[5], false)));
    PreparedFindCall find_first(dbc(), Proc("up_FindF_", "NAVD", key.name));
    PreparedFindCall find_last(dbc(), Proc("up_FindL_", "NAVD", key.name));
    for (const std::string& search : keys) {
      for (int len : {0, 1, 3, first_len - 1, first_len, first_len + 1, first_len + 3, size - 1, size, size + 1, 128}) {
        if (len < 0 || !Modelled(key, len)) continue;
        std::string padded = search;
        padded.resize(static_cast<size_t>(len), ' ');
        SCOPED_TRACE("prefix '" + padded + "' length " + std::to_string(len));
        EXPECT_EQ(CallFind(dbc(), Proc("up_FindF_", "NAVD", key.name), padded, len), model.FindF(padded, len));
        EXPECT_EQ(CallFind(dbc(), Proc("up_FindL_", "NAVD", key.name), padded, len), model.FindL(padded, len));
        EXPECT_EQ(find_first.Run(padded, len), model.FindF(padded, len));
        EXPECT_EQ(find_last.Run(padded, len), model.FindL(padded, len));
      }
    }
  }
}

TEST_F(DirectNavigationTest, NoPagesOfFifty) {
  odbctest::Statement stmt(dbc());
  const std::string sql = "EXECUTE [up_Next50_NAVD_NAME_KEY] " + std::to_string(records_[0].rec_id);
  EXPECT_EQ(SQLExecDirect(stmt, odbctest::Text(sql), SQL_NTS), SQL_ERROR);
  EXPECT_EQ(odbctest::FirstState(SQL_HANDLE_STMT, stmt), "42000");
}

TEST_F(DirectNavigationTest, EmptyTableHasNoFirstAndNoNeighbours) {
  ASSERT_TRUE(scripts::Execute(dbc(), "DELETE FROM [dbo].[ut_NAVD]"));
  for (const KeyCase& key : kKeys) {
    SCOPED_TRACE(key.name);
    EXPECT_EQ(Call("EXECUTE [" + Proc("up_First_", "NAVD", key.name) + "]"), RecIds{});
    EXPECT_EQ(Call("EXECUTE [" + Proc("up_Last_", "NAVD", key.name) + "]"), RecIds{});
    EXPECT_EQ(Step("up_Next_", key, records_[0].rec_id), RecIds{0});
    EXPECT_EQ(CallFind(dbc(), Proc("up_FindF_", "NAVD", key.name), "M", 1), RecIds{});
  }
}

}  // namespace
}  // namespace nav
