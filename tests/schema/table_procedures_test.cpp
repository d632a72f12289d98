#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "include/lerv32.h"
#include "schema/golden.h"
#include "schema/sample_defs.h"
#include "schema/script_writer.h"

namespace {

std::string Procedures(const TableDef* td) {
  std::string out(200000, '\0');
  rv_GenSqlTableBasicProc(td, &out[0], 1);
  return out.c_str();
}

// The object whose guard names prefix + base, from its separator to the next.
std::string Object(const std::string& script, const std::string& prefix, const std::string& base) {
  const std::size_t name = script.find("[name] = '" + prefix + base + "'");
  if (name == std::string::npos) return "";
  const std::size_t begin = script.rfind(lerv32::kScriptSeparator, name);
  const std::size_t end = script.find(lerv32::kScriptSeparator, name);
  return script.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

const samples::Sample& Sample(const std::string& name) {
  for (const samples::Sample& sample : samples::All()) {
    if (name == sample.name) return sample;
  }
  throw std::invalid_argument(name);
}

TEST(TableProcedures, GoldenTextsOfEverySample) {
  for (const samples::Sample& sample : samples::All()) {
    SCOPED_TRACE(sample.name);
    const auto td = samples::Load(sample);
    golden::Expect(std::string("procs_") + sample.name + ".sql", Procedures(td.get()));
  }
}

TEST(TableProcedures, TextFieldsAreTrimmedAndOthersConvertedFromText) {
  const auto td = samples::Load({"preis", "", {"ALIAS=PREISE", "FIELD=NAME,C,30", "FIELD=PREIS,N,10,2"}});
  const std::string script = Procedures(td.get());
  const std::string append = Object(script, "up_Append_", "PREISE");
  EXPECT_TRUE(Has(append, "[up_Append_PREISE]\r\n  @Parm_NAME char(30)\r\n ,@Parm_PREIS float\r\nAS\r\n"));
  EXPECT_TRUE(Has(append, "(@NeueId\r\n       ,RTRIM(@Parm_NAME)\r\n       ,@Parm_PREIS\r\n           )\r\n"));
  const std::string upd2 = Object(script, "up_Upd2_", "PREISE");
  EXPECT_TRUE(Has(upd2, "varchar(20)\r\n ,@Param_NAME varchar(30)\r\n ,@Param_PREIS varchar(20)\r\nAS\r\n"));
  EXPECT_TRUE(Has(upd2, " SET\r\n     [NAME] = RTRIM(@Param_NAME)\r\n    ,[PREIS] = dbo.dpxfunc_float(@Param_PREIS)\r\n"));
}

TEST(TableProcedures, UpperCaseFieldIsUpperedOnlyByTextUpdate) {
  const auto td = samples::Load(Sample("kunde"));
  const std::string script = Procedures(td.get());
  EXPECT_TRUE(Has(Object(script, "up_Upd2_", "KUNDE"), "    ,[NAME] = UPPER(RTRIM(@Param_NAME))\r\n"));
  EXPECT_TRUE(Has(Object(script, "up_Append_", "KUNDE"), "       ,RTRIM(@Parm_NAME)\r\n"));
  EXPECT_TRUE(Has(Object(script, "up_Upd_", "KUNDE"), "    ,[NAME] = RTRIM(@Parm_NAME)\r\n"));
  EXPECT_FALSE(Has(Object(script, "up_Append_", "KUNDE") + Object(script, "up_Upd_", "KUNDE"), "UPPER"));
}

TEST(TableProcedures, ListOfTextFieldsJoinsThemWithPlusSigns) {
  const auto td = samples::Load(Sample("artikel"));
  EXPECT_TRUE(Has(Object(Procedures(td.get()), "up_TrSel_", "M01_ARTIKEL"),
                  "  SELECT   RecId,\r\n      LTRIM(RTRIM([ARTNR]))\r\n      +LTRIM(RTRIM([BEZ]))\r\n"
                  "      +LTRIM(RTRIM([STATUS]))\r\n    AS Data\r\n  FROM     [dbo].[M01$ARTIKEL]\r\n"));
}

TEST(TableProcedures, ProceduresWithoutColumnsAreOnlyDropped) {
  const std::string guard_tail = "')\r\n  DROP PROCEDURE [dbo].[";
  const auto leer = samples::Load(Sample("leer"));
  const std::string empty_table = Procedures(leer.get());
  for (const char* prefix : {"up_Sel_", "up_Upd_", "up_Upd2_", "up_TrSel_"}) {
    const std::string object = Object(empty_table, prefix, "LEER");
    EXPECT_TRUE(Has(object, guard_tail + prefix + "LEER]\r\nGO\r\n")) << prefix;
    EXPECT_FALSE(Has(object, "CREATE")) << prefix;
  }
  EXPECT_TRUE(Has(Object(empty_table, "up_Append_", "LEER"), "CREATE PROCEDURE"));

  const auto zahlen = samples::Load(Sample("zahlen"));
  const std::string no_text = Procedures(zahlen.get());
  EXPECT_FALSE(Has(Object(no_text, "up_TrSel_", "ZAHLEN"), "CREATE"));
  EXPECT_TRUE(Has(Object(no_text, "up_Upd2_", "ZAHLEN"), "CREATE PROCEDURE"));
}

}  // namespace
