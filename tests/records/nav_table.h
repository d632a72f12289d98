// The table the navigation and key search tests walk: one definition in
// three forms (direct procedures, key tables, a tenant's objects) holding
// the same rows, and the server's own order of each key.
#ifndef LERV32_TESTS_RECORDS_NAV_TABLE_H
#define LERV32_TESTS_RECORDS_NAV_TABLE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/record_db.h"
#include "tabledef/definition_file.h"

namespace recordtest {

// Rows (Windows-1252) of values a record cannot hold exactly: NAME (quotes,
// umlauts, the euro sign that code page 850 lacks, duplicates, case), ORT,
// DATUM (dates before 1900 read as the empty date), PLZ, NR, WERT (fractions
// in a d field without decimals, a value too wide for its text, a tie whose
// names sort against their RecIds: the key's fields alone order it).
inline const char* const kNavRows =
    " (RecId, NAME, ORT, DATUM, PLZ, NR, WERT) VALUES\r\n"
    " (2, 'Yilmaz', 'Bonn', '2020-05-03', 53111, 5, 1.4),\r\n"
    " (3, 'Meier', 'Bonn', '2020-05-01', 53111, 7, 1.2),\r\n"
    " (5, 'O''Brien', 'K\xf6ln', '1850-03-01', 50667, 2, 1.4),\r\n"
    " (6, 'meier', 'Aachen', '2020-05-01', 52062, 7, 1.2),\r\n"
    " (9, 'M\xfcller', 'Bonn', '2001-01-01', 53111, 1, -1.2),\r\n"
    " (10, 'Zander', 'Essen', '1900-01-01', 45127, 9, 1e70),\r\n"
    " (12, 'Meier', 'Bonn', '2020-05-01', 53111, 7, 0),\r\n"
    " (14, '\x80uro', 'K\xf6ln', '2020-05-02', 50667, 3, 1.7),\r\n"
    " (20, '\xc4rger', 'Ulm', '1899-12-31', 89073, 4, 2)\r\n";

// A key and the server's own order of it.
struct KeyCase { const char* name; const char* order_by; };

inline const KeyCase kNavKeys[] = {
    {"NAME_KEY", "NAME, RecId"},
    {"MIX_KEY", "DATUM, PLZ, NR, RecId"},
    {"ORT_KEY", "ORT, NAME, RecId"},
    {"WERT_KEY", "WERT, RecId"},
};

enum NavForm { kDirect, kKeyTables, kTenant };

inline std::string NavFormName(const ::testing::TestParamInfo<int>& param) {
  return param.param == kDirect ? "Direct" : param.param == kKeyTables ? "KeyTables" : "Tenant";
}

class NavTable : public ::testing::TestWithParam<int>, public RecordDb {
 protected:
  void SetUp() override {
    std::vector<std::string> lines = {"ALIAS=NAV", "EXLEVEL=1", "USEMANDANT=1", "FIELD=NAME,C,12", "FIELD=ORT,u,8",
                                      "FIELD=DATUM,D", "FIELD=PLZ,N,5", "FIELD=NR,l", "FIELD=WERT,d",
                                      "KEY=NAME_KEY,NAME", "KEY=MIX_KEY,DATUM,PLZ,NR", "KEY=ORT_KEY,ORT,NAME",
                                      "KEY=WERT_KEY,WERT"};
    if (GetParam() == kKeyTables) lines.push_back("USEKEYTAB=1");
    lerv32::ApplyDefinitionLines(td_.get(), lines);
    dbc_ = Connect("nav");
    ASSERT_NE(dbc_, nullptr);
    if (GetParam() == kTenant) {
      // The objects of no tenant, holding another record, which a walk as
      // the tenant M01 must never meet.
      ASSERT_EQ(rv_CreateTable(dbc_, td_.get(), 1, nullptr), 1);
      ASSERT_TRUE(RunScript(dbc_, "INSERT INTO NAV (RecId, NAME) VALUES (4, 'fremd')\r\n"));
      rv_SetMandant("M01");
    }
    ASSERT_EQ(rv_CreateTable(dbc_, td_.get(), 1, nullptr), 1);
    ASSERT_TRUE(RunScript(dbc_, "INSERT INTO [" + base_ + "]" + kNavRows));
  }

  const std::string base_ = GetParam() == kTenant ? "M01_NAV" : "NAV";
  SQLHDBC dbc_ = nullptr;
};

}  // namespace recordtest

#endif  // LERV32_TESTS_RECORDS_NAV_TABLE_H
