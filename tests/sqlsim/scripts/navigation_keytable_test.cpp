// The navigation procedures over the key table: walks, neighbours, pages of
// fifty and prefix search against the model, through the driver manager.
#include <algorithm>
#include <set>

#include "tests/sqlsim/scripts/navigation_fixture.h"

namespace nav {
namespace {

const std::vector<std::string> kLines = {
    "ALIAS=NAVK", "USEKEYTAB=1", "FIELD=NAME,C,12", "FIELD=ORT,u,8", "FIELD=PLZ,N,5", "FIELD=BETRAG,N,7,2",
    "FIELD=DATUM,D", "FIELD=STATUS,C,1", "KEY=NAME_KEY,NAME,ORT", "KEY=PLZ_KEY,PLZ,BETRAG",
    "KEY=DAT_KEY,DATUM,NAME", "KEY=AKT_KEY,NAME;[STATUS] = 'A'"};
const std::vector<KeyField> kColumns = {{"NAME", 'C', 12, 0}, {"ORT", 'u', 8, 0},  {"PLZ", 'N', 5, 0},
                                        {"BETRAG", 'N', 7, 2}, {"DATUM", 'D', 10, 0}, {"STATUS", 'C', 1, 0}};
const std::vector<KeyCase> kKeys = {
    {"NAME_KEY", {{"NAME", 'C', 12, 0}, {"ORT", 'u', 8, 0}}},
    {"PLZ_KEY", {{"PLZ", 'N', 5, 0}, {"BETRAG", 'N', 7, 2}}},
    {"DAT_KEY", {{"DATUM", 'D', 10, 0}, {"NAME", 'C', 12, 0}}},
    {"AKT_KEY", {{"NAME", 'C', 12, 0}}},
};
// 60 records: the pages of fifty run past their end and stop short of it.
constexpr int kRecordCount = 60;
constexpr int64_t kNoSuchRecord = 4242;

std::string LowerOf(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return text;
}

class KeyTableNavigationTest : public NavigationTest {
 protected:
  void SetUp() override {
    NavigationTest::SetUp();
    if (HasFatalFailure()) return;
    records_ = MakeRecords(kRecordCount);
    Create(kLines);
    if (HasFatalFailure()) return;
    Insert("ut_NAVK", kColumns, records_);
  }

  KeyTableModel Model(const KeyCase& key, std::set<int32_t> missing = {}) const {
    KeyTableModel::Filter filter;
    if (key.name == "AKT_KEY") {
      filter = [](const Record& r) { return CompareCollated(r.fields.at("STATUS").text, "A") == 0; };
    }
    return KeyTableModel(key.fields, records_, filter, std::move(missing));
  }
  RecIds Step(const char* prefix, const KeyCase& key, int64_t rec_id) {
    return Call("EXECUTE [" + Proc(prefix, "NAVK", key.name) + "] " + std::to_string(rec_id));
  }
  RecIds WalkForward(const KeyCase& key) {
    return Walk(Call("EXECUTE [" + Proc("up_First_", "NAVK", key.name) + "]"),
                [&](int32_t id) { return Step("up_Next_", key, id); }, false, records_.size());
  }
  RecIds WalkBackward(const KeyCase& key) {
    return Walk(Call("EXECUTE [" + Proc("up_Last_", "NAVK", key.name) + "]"),
                [&](int32_t id) { return Step("up_Prior_", key, id); }, false, records_.size());
  }

  std::vector<Record> records_;
};

TEST_F(KeyTableNavigationTest, WalksVisitEveryVisibleRecordOnceInKeyOrder) {
  for (const KeyCase& key : kKeys) {
    SCOPED_TRACE(key.name);
    const KeyTableModel model = Model(key);
    RecIds reversed = model.Order();
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(WalkForward(key), model.Order());
    EXPECT_EQ(WalkBackward(key), reversed);

    PreparedRecIdCall next(dbc(), Proc("up_Next_", "NAVK", key.name));
    PreparedRecIdCall prior(dbc(), Proc("up_Prior_", "NAVK", key.name));
    EXPECT_EQ(Walk(model.First(), [&](int32_t id) { return next.Run(id); }, false, records_.size()), model.Order());
    EXPECT_EQ(Walk(model.Last(), [&](int32_t id) { return prior.Run(id); }, false, records_.size()), reversed);
  }
}

TEST_F(KeyTableNavigationTest, NeighboursOfEveryRecordFollowItsKeyValue) {
  for (const KeyCase& key : kKeys) {
    SCOPED_TRACE(key.name);
    const KeyTableModel model = Model(key);
    PreparedRecIdCall next(dbc(), Proc("up_Next_", "NAVK", key.name));
    PreparedRecIdCall prior(dbc(), Proc("up_Prior_", "NAVK", key.name));
    std::vector<int64_t> ids = {kNoSuchRecord, 0, -1};
    for (const Record& record : records_) ids.push_back(record.rec_id);
    // Records that fail the filter are given too: they still position.
    for (int64_t id : ids) {
      SCOPED_TRACE("RecId " + std::to_string(id));
      EXPECT_EQ(Step("up_Next_", key, id), model.Next(id));
      EXPECT_EQ(Step("up_Prior_", key, id), model.Prior(id));
      EXPECT_EQ(next.Run(static_cast<int32_t>(id)), model.Next(id));
      EXPECT_EQ(prior.Run(static_cast<int32_t>(id)), model.Prior(id));
      EXPECT_EQ(Step("up_Next50_", key, id), model.Next(id, 50));
      EXPECT_EQ(Step("up_Prior50_", key, id), model.Prior(id, 50));
    }
  }
}

TEST_F(KeyTableNavigationTest, FilteredKeyNeverReturnsRecordsFailingTheFilter) {
  const KeyCase& key = kKeys.back();
  const RecIds walked = WalkForward(key);
  std::set<int64_t> passing;
  for (const Record& record : records_) {
    if (CompareCollated(record.fields.at("STATUS").text, "A") == 0) passing.insert(record.rec_id);
  }
  ASSERT_GT(passing.size(), 5u);
  ASSERT_LT(passing.size(), records_.size());
  EXPECT_EQ(std::set<int64_t>(walked.begin(), walked.end()), passing);
  EXPECT_EQ(walked.size(), passing.size());
}

TEST_F(KeyTableNavigationTest, FindFirstAndLastByPrefix) {
  for (const KeyCase& key : kKeys) {
    SCOPED_TRACE(key.name);
    const KeyTableModel model = Model(key);
    const int first_len = key.fields.front().len;
    int key_size = 0;
    for (const KeyField& field : key.fields) key_size += field.len;
    std::vector<std::string> keys = {"ZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZ", "MEIERX", "", "O'BRIEN", "\xC4"};
    // Every third record keeps the call count bounded; the names repeat.
    for (size_t i = 0; i < records_.size(); i += 3) keys.push_back(model.ComposedValue(records_[i]));
    keys.push_back(LowerOf(model.ComposedValue(records_[4])));
    PreparedFindCall find_first(dbc(), Proc("up_FindF_", "NAVK", key.name));
    PreparedFindCall find_last(dbc(), Proc("up_FindL_", "NAVK", key.name));
    for (const std::string& search : keys) {
      for (int len : {0, 1, 3, first_len, first_len + 2, key_size, key_size + 10, key_size + 11}) {
        const std::string shown = search.substr(0, static_cast<size_t>(len));
        SCOPED_TRACE("prefix '" + shown + "' length " + std::to_string(len));
        std::string padded = search;
        padded.resize(static_cast<size_t>(len), ' ');
        EXPECT_EQ(CallFind(dbc(), Proc("up_FindF_", "NAVK", key.name), padded, len), model.FindF(padded, len));
        EXPECT_EQ(CallFind(dbc(), Proc("up_FindL_", "NAVK", key.name), padded, len), model.FindL(padded, len));
        EXPECT_EQ(find_first.Run(padded, len), model.FindF(padded, len));
        EXPECT_EQ(find_last.Run(padded, len), model.FindL(padded, len));
      }
    }
  }
}

TEST_F(KeyTableNavigationTest, RecordMissingFromTheKeyTableIsNeitherVisitedNorAStart) {
  const int32_t removed = records_[7].rec_id;
  ASSERT_TRUE(scripts::Execute(dbc(), "DELETE FROM [dbo].[ut_NAVK_Keys] WHERE DataRecId = " + std::to_string(removed)));
  for (const KeyCase& key : kKeys) {
    SCOPED_TRACE(key.name);
    const KeyTableModel model = Model(key, {removed});
    EXPECT_EQ(WalkForward(key), model.Order());
    EXPECT_EQ(Step("up_Next_", key, removed), RecIds{});
    EXPECT_EQ(Step("up_Prior_", key, removed), RecIds{});
    EXPECT_EQ(Step("up_Next50_", key, removed), RecIds{});
  }
}

TEST_F(KeyTableNavigationTest, TriggersKeepTheKeyTableInStepWithTheData) {
  ASSERT_TRUE(scripts::Execute(dbc(), "UPDATE [dbo].[ut_NAVK] SET NAME = 'aaa', STATUS = 'A' WHERE RecId = " +
                                          std::to_string(records_[3].rec_id)));
  // Text compares without regard to case: 'a' finds 'A' as well. Only the
  // records with an even id change, so the filtered key keeps some.
  ASSERT_TRUE(scripts::Execute(dbc(), "UPDATE [dbo].[ut_NAVK] SET STATUS = 'B' WHERE STATUS = 'a' AND RecId % 2 = 0"));
  ASSERT_TRUE(scripts::Execute(dbc(), "DELETE FROM [dbo].[ut_NAVK] WHERE RecId = " +
                                          std::to_string(records_[10].rec_id)));
  records_[3].fields["NAME"].text = "aaa";
  records_[3].fields["STATUS"].text = "A";
  for (Record& record : records_) {
    const std::string& status = record.fields["STATUS"].text;
    if ((status == "a" || status == "A") && record.rec_id % 2 == 0) record.fields["STATUS"].text = "B";
  }
  records_.erase(records_.begin() + 10);
  for (const KeyCase& key : kKeys) {
    SCOPED_TRACE(key.name);
    EXPECT_EQ(WalkForward(key), Model(key).Order());
  }
}

TEST_F(KeyTableNavigationTest, EmptyTableAnswersNoRow) {
  ASSERT_TRUE(scripts::Execute(dbc(), "DELETE FROM [dbo].[ut_NAVK]"));
  EXPECT_EQ(Int("SELECT count(*) FROM [dbo].[ut_NAVK_Keys]"), 0);
  for (const KeyCase& key : kKeys) {
    SCOPED_TRACE(key.name);
    EXPECT_EQ(Call("EXECUTE [" + Proc("up_First_", "NAVK", key.name) + "]"), RecIds{});
    EXPECT_EQ(Call("EXECUTE [" + Proc("up_Last_", "NAVK", key.name) + "]"), RecIds{});
    EXPECT_EQ(CallFind(dbc(), Proc("up_FindF_", "NAVK", key.name), "", 0), RecIds{});
    EXPECT_EQ(CallFind(dbc(), Proc("up_FindL_", "NAVK", key.name), "", 0), RecIds{});
  }
}

}  // namespace
}  // namespace nav
