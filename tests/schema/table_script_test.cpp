#include <gtest/gtest.h>

#include <string>

#include "include/lerv32.h"
#include "schema/generators.h"
#include "schema/golden.h"
#include "schema/sample_defs.h"

namespace {

constexpr std::size_t kScriptSize = 400000;

std::string TableScript(const TableDef* td, int32_t transact_sql) {
  std::string out(kScriptSize, '\0');
  rv_GenSqlTableDef(td, &out[0], transact_sql);
  return out.c_str();
}

std::string IndexScript(const TableDef* td, int32_t key, int32_t transact_sql) {
  std::string out(kScriptSize, '\0');
  rv_GenSqlIndexDef(td, &out[0], key, transact_sql);
  return out.c_str();
}

std::string DropScript(const TableDef* td) {
  std::string out(kScriptSize, '\0');
  rv_GenSqlDropDef(td, &out[0]);
  return out.c_str();
}

std::string KeyProcedures(const TableDef* td, int32_t key) {
  std::string out(kScriptSize, '\0');
  rv_GenSqlTableIndexProc(td, &out[0], key, 1);
  return out.c_str();
}

std::string KeyTableScript(const TableDef* td) {
  std::string out(kScriptSize, '\0');
  lerv32::Generate(&out[0], out.size(), [&](lerv32::ScriptWriter& w) { lerv32::WriteKeyTableScript(w, td); });
  return out.c_str();
}

// The part of text ahead of tail, which must end it; the tail is written by
// another generator and checked by its own tests.
std::string Ahead(const std::string& text, const std::string& tail) {
  const bool ends_with_tail =
      text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
  EXPECT_TRUE(ends_with_tail) << "text does not end with the other generator's part";
  return ends_with_tail ? text.substr(0, text.size() - tail.size()) : text;
}

TEST(TableScript, GoldenTextsOfEverySample) {
  for (const samples::Sample& sample : samples::All()) {
    SCOPED_TRACE(sample.name);
    const auto td = samples::Load(sample);
    const std::string name = sample.name;
    golden::Expect("table_std_" + name + ".sql", TableScript(td.get(), 0));
    const std::string key_tables = td->UseKeyTable != 0 ? KeyTableScript(td.get()) : "";
    golden::Expect("table_tsql_" + name + ".sql", Ahead(TableScript(td.get(), 1), key_tables));
    golden::Expect("drop_" + name + ".sql", DropScript(td.get()));
  }
}

TEST(TableScript, IndexGoldenPerKeyAndKeyProceduresBehind) {
  for (const samples::Sample& sample : samples::All()) {
    const auto td = samples::Load(sample);
    for (int32_t k = 0; k < td->KeyCnt; ++k) {
      const std::string stem = std::string(sample.name) + "_" + td->Keys[k].Name + ".sql";
      SCOPED_TRACE(stem);
      golden::Expect("index_std_" + stem, IndexScript(td.get(), k, 0));
      golden::Expect("index_tsql_" + stem, Ahead(IndexScript(td.get(), k, 1), KeyProcedures(td.get(), k)));
    }
  }
}

TEST(TableScript, TenantIgnoredWhenTableDoesNotUseIt) {
  const auto td = samples::Load(samples::All()[0]);
  ASSERT_EQ(td->UseMandant, 0);
  const std::string without_tenant = TableScript(td.get(), 1);
  rv_SetMandant("M01");
  EXPECT_EQ(TableScript(td.get(), 1), without_tenant);
  EXPECT_NE(without_tenant.find("CREATE TABLE [dbo].[ut_KUNDE]"), std::string::npos);
  rv_SetMandant("");
}

TEST(TableScript, BoundedVariantFitsExactlyOrWritesNothing) {
  const auto td = samples::Load(samples::All()[0]);
  const std::string expected = TableScript(td.get(), 1);
  const int32_t size = static_cast<int32_t>(expected.size());

  std::string fits(expected.size() + 2, '#');
  EXPECT_EQ(rv_GenSqlTableDefN(td.get(), &fits[0], size + 1, 1), size);
  EXPECT_EQ(fits.substr(0, expected.size()), expected);
  EXPECT_EQ(fits[expected.size()], '\0');
  EXPECT_EQ(fits[expected.size() + 1], '#');

  std::string short_by_one(expected.size() + 1, '#');
  EXPECT_EQ(rv_GenSqlTableDefN(td.get(), &short_by_one[0], size, 1), -1);
  EXPECT_EQ(short_by_one[0], '\0');
  EXPECT_EQ(short_by_one[expected.size()], '#');
}

}  // namespace
