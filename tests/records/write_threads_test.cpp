// Threads appending, reading and updating at once: each with its own
// connection and table, where no call may reach the other thread's table;
// two sharing one connection; one appending while another switches the tenant.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "frame/settings.h"
#include "include/lerv32.h"
#include "records/record_db.h"
#include "support/sqlsim_db.h"
#include "tabledef/definition_file.h"
#include "tabledef/table_def.h"

namespace {

constexpr int kCalls = 60;

// Appends kCalls records with WERT 1..n, updates each and reads it back;
// returns what went wrong, "" when nothing did.
std::string Work(const std::string& connect, TableDef* td) {
  auto dbc = static_cast<SQLHDBC>(rv_OdbcDriverConnect(nullptr, connect.c_str()));
  if (dbc == nullptr) return "no connection";
  const int wert = rv_FieldNo(td, "WERT");
  std::vector<char> record(static_cast<size_t>(lerv32::RecordSize(td)), ' ');
  std::string failures;
  for (int i = 1; i <= kCalls && failures.empty(); ++i) {
    rv_FieldFromString(td, wert, record.data(), std::to_string(i).c_str());
    const int32_t id = rv_OdbcAppendRecord(dbc, td, record.data());
    rv_FieldFromString(td, wert, record.data(), std::to_string(i + 1000).c_str());
    if (id == 0 || rv_OdbcUpdateRecord(dbc, td, id, record.data()) != 1) failures = "write " + std::to_string(i);
    record.assign(record.size(), ' ');
    if (rv_OdbcGetRecord(dbc, td, id, record.data()) != 1 || rv_FieldToLong(td, wert, record.data()) != i + 1000) {
      failures += " read " + std::to_string(i);
    }
  }
  rv_OdbcDisconnect(dbc);
  return failures;
}

class RecordThreadsTest : public ::testing::Test, public recordtest::RecordDb {};

TEST_F(RecordThreadsTest, TwoThreadsKeepToTheirOwnTables) {
  lerv32::ExSQL_Enabled = 1;
  const std::string connect = testenv::SqlsimConnectString(temp_.Path(), "faeden");
  SQLHDBC dbc = Connect("faeden");
  ASSERT_TRUE(recordtest::RunScript(dbc, testenv::ReadText(LERV32_DPXFUNC_SQL)));
  // Names of different lengths: a name torn between two threads shows.
  std::vector<testenv::TableDefPtr> tds;
  for (const char* alias : {"A", "BBBBBBBB"}) {
    tds.push_back(testenv::NewTableDef());
    lerv32::ApplyDefinitionLines(tds.back().get(), {std::string("ALIAS=") + alias, "FIELD=WERT,N,8", "KEY=W,WERT"});
    ASSERT_EQ(rv_CreateTable(dbc, tds.back().get(), 1, nullptr), 1);
  }
  for (int32_t level : {1, 0}) {
    SCOPED_TRACE(level ? "procedures" : "plain SQL");
    std::vector<std::string> failures(tds.size());
    std::vector<std::thread> threads;
    for (size_t t = 0; t < tds.size(); ++t) {
      tds[t]->ExLevel = level;
      threads.emplace_back([&, t] { failures[t] = Work(connect, tds[t].get()); });
    }
    for (std::thread& thread : threads) thread.join();
    for (size_t t = 0; t < tds.size(); ++t) {
      const std::string table = tds[t]->TableName;
      EXPECT_EQ(failures[t], "") << table;
      EXPECT_EQ(recordtest::QueryText(dbc, "SELECT count(*) FROM " + table + " WHERE WERT > 1000"),
                std::to_string(kCalls * (level ? 1 : 2)))
          << "every record of " << table << " written by its own thread";
    }
  }
}

// Two threads append through one connection, each with its own definition
// of one table. Every RecId a caller is told of is another, and its record
// is committed by then: a second connection reads it at once.
TEST_F(RecordThreadsTest, TwoThreadsShareOneConnection) {
  lerv32::ExSQL_Enabled = 1;
  SQLHDBC shared = Connect("gemeinsam");
  ASSERT_TRUE(recordtest::RunScript(shared, testenv::ReadText(LERV32_DPXFUNC_SQL)));
  const std::vector<std::string> lines = {"ALIAS=GEMEINSAM", "FIELD=WERT,N,8", "KEY=W,WERT"};
  std::vector<testenv::TableDefPtr> tds;
  for (int t = 0; t < 2; ++t) {
    tds.push_back(testenv::NewTableDef());
    lerv32::ApplyDefinitionLines(tds.back().get(), lines);
  }
  ASSERT_EQ(rv_CreateTable(shared, tds[0].get(), 1, nullptr), 1);
  const SQLHDBC observers[] = {Connect("gemeinsam"), Connect("gemeinsam")};
  for (int32_t level : {1, 0}) {
    SCOPED_TRACE(level ? "procedures" : "plain SQL");
    std::vector<std::vector<int32_t>> told(tds.size());
    std::vector<int> unseen(tds.size(), 0);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < tds.size(); ++t) {
      tds[t]->ExLevel = level;
      threads.emplace_back([&, t] {
        TableDef* td = tds[t].get();
        std::vector<char> record(static_cast<size_t>(lerv32::RecordSize(td)), ' ');
        for (int i = 0; i < kCalls; ++i) {
          const int32_t id = rv_OdbcAppendRecord(shared, td, record.data());
          told[t].push_back(id);
          if (id != 0 && rv_OdbcGetRecord(observers[t], td, id, record.data()) != 1) ++unseen[t];
        }
      });
    }
    for (std::thread& thread : threads) thread.join();
    std::set<int32_t> distinct;
    for (size_t t = 0; t < tds.size(); ++t) {
      EXPECT_EQ(unseen[t], 0) << "appends of thread " << t << " not committed when told";
      for (int32_t id : told[t]) {
        EXPECT_NE(id, 0) << "an append of thread " << t << " failed";
        if (id != 0) {
          EXPECT_TRUE(distinct.insert(id).second) << "RecId " << id << " told twice";
        }
      }
    }
    const std::string rows = recordtest::QueryText(observers[0], "SELECT count(*) FROM GEMEINSAM");
    EXPECT_EQ(rows, std::to_string(kCalls * 2 * (level ? 1 : 2)));
  }
}

// A host switches the tenant between two while a thread appends to a tenant
// table: each append (a blank record, then its values) goes whole to one
// tenant's table, none fails and no blank record stays behind.
TEST_F(RecordThreadsTest, AppendsWhileTheTenantSwitchesGoWholeToOneTenant) {
  lerv32::ExSQL_Enabled = 1;
  SQLHDBC dbc = Connect("mandanten");
  ASSERT_TRUE(recordtest::RunScript(dbc, testenv::ReadText(LERV32_DPXFUNC_SQL)));
  auto td = testenv::NewTableDef();
  lerv32::ApplyDefinitionLines(td.get(), {"ALIAS=KONTO", "USEMANDANT=1", "FIELD=WERT,N,8", "KEY=W,WERT"});
  const char* const tenants[] = {"FIRMA_A", "FIRMA_B"};
  for (const char* tenant : tenants) {
    rv_SetMandant(tenant);
    ASSERT_EQ(rv_CreateTable(dbc, td.get(), 1, nullptr), 1) << tenant;
  }
  const std::string rows = "(SELECT WERT FROM [FIRMA_A$KONTO] UNION ALL SELECT WERT FROM [FIRMA_B$KONTO]) r";
  const int wert = rv_FieldNo(td.get(), "WERT");
  std::vector<char> record(static_cast<size_t>(lerv32::RecordSize(td.get())), ' ');
  int appended = 0;
  for (int32_t level : {1, 0}) {
    SCOPED_TRACE(level ? "procedures" : "plain SQL");
    td->ExLevel = level;
    std::atomic<bool> stop{false};
    std::thread switcher([&] {
      while (!stop) {
        for (const char* tenant : tenants) rv_SetMandant(tenant);
      }
    });
    int failed = 0;
    for (int i = 1; i <= kCalls; ++i) {
      rv_FieldFromString(td.get(), wert, record.data(), std::to_string(i).c_str());
      if (rv_OdbcAppendRecord(dbc, td.get(), record.data()) == 0) ++failed;
    }
    stop = true;
    switcher.join();
    appended += kCalls;
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(recordtest::QueryText(dbc, "SELECT count(*) FROM " + rows + " WHERE WERT > 0"), std::to_string(appended));
    EXPECT_EQ(recordtest::QueryText(dbc, "SELECT count(*) FROM " + rows + " WHERE WERT = 0 OR WERT IS NULL"), "0");
  }
}

}  // namespace
