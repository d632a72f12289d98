// The record-id function and the per-table procedures that record access
// calls by name. Each object is dropped if present and created anew.
#include <string>

#include "schema/generators.h"
#include "schema/key_fields.h"
#include "schema/type_mapping.h"
#include "tabledef/table_def.h"

namespace lerv32 {
namespace {

bool HasFields(const TableDef* td) { return FieldsInUse(td) > 0; }

bool HasTextFields(const TableDef* td) {
  for (int i = 0; i < FieldsInUse(td); ++i) {
    if (IsTextField(td->Fields[i])) return true;
  }
  return false;
}

bool Always(const TableDef*) { return true; }

// The parameters of up_Append_ and up_Upd_, and of up_Upd2_.
std::string Parm(const TableDef* td, const FieldDef& field) { return VariableName("@Parm_", td, field); }
std::string Param(const TableDef* td, const FieldDef& field) { return VariableName("@Param_", td, field); }

// Lead of a column in a SELECT list or SET clause.
const char* ListLead(int i) { return i == 0 ? "     " : "    ,"; }

// up_Upd2_ takes every value as text this wide.
int TextParamLen(const FieldDef& field) {
  switch (field.Type) {
    case 'D': case 'L': case 'b': case 'o': case 's':
      return 10;
    case 'N': case 'd': case 'l': case 'n': case 'x':
      return 20;
    default:
      return field.Len;
  }
}

struct Conversion {
  const char* open;
  const char* close;
};

// How up_Upd2_ turns a text parameter back into the column's value.
Conversion TextParamConversion(const FieldDef& field) {
  switch (field.Type) {
    case 'D': case 'o':
      return {"dbo.dpxfunc_datetime(", ")"};
    case 'L': case 'b': case 'l': case 's': case 'x':
      return {"dbo.dpxfunc_integer(", ")"};
    case 'N': case 'd': case 'n':
      return {"dbo.dpxfunc_float(", ")"};
    case 'u':
      return {"UPPER(RTRIM(", "))"};
    default:
      return {"RTRIM(", ")"};
  }
}

void WriteNextRecIdFunctionDrop(ScriptWriter& out, const TableDef* td, const SqlNames& names) {
  const std::string function = std::string("dpxfunc_NextRecId_") + SqlBaseName(td, nullptr);
  out.Format("IF OBJECT_ID (N'%s', N'FN') IS NOT NULL AND %s\r\n\tDROP FUNCTION [dbo].[dpxfunc_NextRecId_%s]\r\nGO\r\n",
             ObjectIdName(function).c_str(), names.BaseObjectIsThisTables(ObjectIdName(function)).c_str(),
             names.base.c_str());
}

void WriteNextRecIdFunction(ScriptWriter& out, const TableDef* td, const SqlNames& names) {
  out.Put(kScriptSeparator);
  WriteNextRecIdFunctionDrop(out, td, names);
  out.Format(
      "CREATE FUNCTION [dbo].[dpxfunc_NextRecId_%s]() RETURNS integer\r\nAS\r\nBEGIN\r\n"
      "  RETURN isnull((SELECT MAX(RecId) FROM [dbo].[%s] WITH (READUNCOMMITTED)),0) + 1\r\nEND\r\nGO\r\n",
      names.base.c_str(), names.table.c_str());
}

void WriteSel(ScriptWriter& out, const TableDef* td, const SqlNames& names) {
  out.Format("CREATE PROCEDURE [dbo].[up_Sel_%s]\r\n  @RI integer\r\nAS\r\nSELECT\r\n", names.base.c_str());
  for (int i = 0; i < FieldsInUse(td); ++i) out.Format("%s[%s]\r\n", ListLead(i), Column(td->Fields[i]).c_str());
  out.Format("  FROM [dbo].[%s]\r\n  WHERE RecId = @RI\r\nGO\r\n", names.table.c_str());
}

void WriteSel2(ScriptWriter& out, const TableDef*, const SqlNames& names) {
  out.Format("CREATE PROCEDURE [dbo].[up_Sel2_%s]\r\n  @Param_RecId varchar(20)\r\nAS\r\n", names.base.c_str());
  out.Put("  DECLARE @mRI integer = dbo.dpxfunc_integer(@Param_RecId)\r\n");
  out.Format("  SELECT * FROM [dbo].[%s]\r\n  WHERE RecId = @mRI\r\nGO\r\n", names.base.c_str());
}

void WriteAppend(ScriptWriter& out, const TableDef* td, const SqlNames& names) {
  out.Format("CREATE PROCEDURE [dbo].[up_Append_%s]\r\n", names.base.c_str());
  for (int i = 0; i < FieldsInUse(td); ++i) {
    const FieldDef& field = td->Fields[i];
    out.Format("%s%s %s\r\n", i == 0 ? "  " : " ,", Parm(td, field).c_str(), SqlFieldTypeName(field, true));
  }
  out.Format(
      "AS\r\n  DECLARE @NeueId integer\r\n  DECLARE @m_CountDown integer = 10\r\n"
      "  WHILE @m_CountDown > 0 BEGIN\r\n    BEGIN TRANSACTION\r\n    BEGIN TRY\r\n"
      "      SET @NeueId = [dbo].[dpxfunc_NextRecId_%s]()\r\n      INSERT INTO [dbo].[%s] (RecId\r\n",
      names.base.c_str(), names.table.c_str());
  for (int i = 0; i < FieldsInUse(td); ++i) out.Format("       ,[%s]\r\n", Column(td->Fields[i]).c_str());
  out.Put("         ) VALUES (@NeueId\r\n");
  for (int i = 0; i < FieldsInUse(td); ++i) {
    const FieldDef& field = td->Fields[i];
    if (IsTextField(field)) {
      out.Format("       ,RTRIM(%s)\r\n", Parm(td, field).c_str());
    } else {
      out.Format("       ,%s\r\n", Parm(td, field).c_str());
    }
  }
  out.Put("           )\r\n");
  out.Put(
      "      COMMIT TRANSACTION\r\n    END TRY\r\n    BEGIN CATCH\r\n      ROLLBACK TRANSACTION\r\n"
      "      SET @NeueId = 0\r\n    END CATCH\r\n\r\n    IF @NeueId <> 0\r\n      SET @m_CountDown = 0\r\n"
      "    ELSE\r\n      SET @m_CountDown = @m_CountDown - 1\r\n\r\n    IF @m_CountDown > 0\r\n"
      "      WAITFOR DELAY '00:00:00.050'\r\n  END\r\n  SELECT @NeueId AS RecId\r\nGO\r\n");
}

void WriteUpd(ScriptWriter& out, const TableDef* td, const SqlNames& names) {
  out.Format("CREATE PROCEDURE [dbo].[up_Upd_%s]\r\n  @RI integer\r\n", names.base.c_str());
  for (int i = 0; i < FieldsInUse(td); ++i) {
    const FieldDef& field = td->Fields[i];
    out.Format(" ,%s %s\r\n", Parm(td, field).c_str(), SqlFieldTypeName(field, true));
  }
  out.Format("AS\r\n--BEGIN TRANSACTION\r\nUPDATE [dbo].[%s] SET\r\n", names.table.c_str());
  for (int i = 0; i < FieldsInUse(td); ++i) {
    const FieldDef& field = td->Fields[i];
    if (IsTextField(field)) {
      out.Format("%s[%s] = RTRIM(%s)\r\n", ListLead(i), Column(field).c_str(), Parm(td, field).c_str());
    } else {
      out.Format("%s[%s] = %s\r\n", ListLead(i), Column(field).c_str(), Parm(td, field).c_str());
    }
  }
  out.Put("  WHERE RecId = @RI\r\n--COMMIT TRANSACTION\r\nGO\r\n\r\n");
}

void WriteUpd2(ScriptWriter& out, const TableDef* td, const SqlNames& names) {
  out.Format("CREATE PROCEDURE [dbo].[up_Upd2_%s]\r\n  @Param_RecId varchar(20)\r\n", names.base.c_str());
  for (int i = 0; i < FieldsInUse(td); ++i) {
    const FieldDef& field = td->Fields[i];
    out.Format(" ,%s varchar(%d)\r\n", Param(td, field).c_str(), TextParamLen(field));
  }
  out.Format(
      "AS\r\n  DECLARE @mRI integer = dbo.dpxfunc_integer(@Param_RecId)\r\n\r\n  UPDATE [dbo].[%s] SET\r\n",
      names.table.c_str());
  for (int i = 0; i < FieldsInUse(td); ++i) {
    const FieldDef& field = td->Fields[i];
    const Conversion conversion = TextParamConversion(field);
    out.Format("%s[%s] = %s%s%s\r\n", ListLead(i), Column(field).c_str(), conversion.open,
               Param(td, field).c_str(), conversion.close);
  }
  out.Put("  WHERE RecId = @mRI\r\n\r\n");
  out.Format("  EXECUTE [dbo].[up_Sel2_%s] @mRI\r\n", names.base.c_str());
  out.Put("GO\r\n");
}

void WriteTrSel(ScriptWriter& out, const TableDef* td, const SqlNames& names) {
  out.Format("CREATE PROCEDURE [dbo].[up_TrSel_%s]\r\nAS\r\n", names.base.c_str());
  out.Put("  SELECT   RecId,\r\n");
  const char* plus = "";
  for (int i = 0; i < FieldsInUse(td); ++i) {
    const FieldDef& field = td->Fields[i];
    if (!IsTextField(field)) continue;
    out.Format("      %sLTRIM(RTRIM([%s]))\r\n", plus, Column(field).c_str());
    plus = "+";
  }
  out.Format("    AS Data\r\n  FROM     [dbo].[%s]\r\n  WHERE    RecId > 0\r\n  ORDER BY RecId\r\nGO\r\n",
             names.table.c_str());
}

void WriteAdd(ScriptWriter& out, const TableDef*, const SqlNames& names) {
  out.Format(
      "CREATE PROCEDURE [dbo].[up_Add_%s] AS\r\n  DECLARE @NeueId integer = [dbo].[dpxfunc_NextRecId_%s]()\r\n"
      "  INSERT INTO [dbo].[%s] (RecId) VALUES( @NeueId )\r\n  IF @@ERROR = 0\r\n    SELECT @NeueId AS RecId\r\n"
      "  ELSE\r\n    SELECT 0 AS RecId\r\nGO\r\n",
      names.base.c_str(), names.base.c_str(), names.table.c_str());
}

void WriteDel(ScriptWriter& out, const TableDef*, const SqlNames& names) {
  out.Format("CREATE PROCEDURE [dbo].[up_Del_%s]\r\n  @RI integer\r\nAS\r\n", names.base.c_str());
  out.Format("  DELETE FROM [dbo].[%s] WHERE RecId = @RI\r\nGO\r\n", names.table.c_str());
}

void WriteReorg(ScriptWriter& out, const TableDef*, const SqlNames& names) {
  out.Format("CREATE PROCEDURE [dbo].[up_Reorg_%s]\r\n  @bDbcc integer,@bRecId integer\r\nAS\r\n", names.base.c_str());
  out.Format(
      "  IF (@bRecId = 1)\r\n  BEGIN\r\n"
      "    DECLARE  C        CURSOR FOR SELECT RecId FROM [dbo].[%s] ORDER BY RecId\r\n"
      "    DECLARE  @CurrId  integer\r\n    DECLARE  @NextId  integer\r\n    --BEGIN TRANSACTION\r\n"
      "    OPEN C\r\n    SET @NextId = 1\r\n    FETCH NEXT FROM C INTO @CurrId\r\n"
      "    WHILE (@@FETCH_STATUS = 0)\r\n    BEGIN\r\n      IF @CurrId <> @NextId\r\n"
      "      UPDATE [dbo].[%s] SET RecId=@NextId WHERE CURRENT OF C\r\n      SET @NextId = @NextId + 1\r\n"
      "      FETCH NEXT FROM C INTO @CurrId\r\n    END\r\n    CLOSE C\r\n    --COMMIT TRANSACTION\r\n"
      "    DEALLOCATE C\r\n  END\r\n\r\n",
      names.table.c_str(), names.table.c_str());
  out.Format("  IF (@bDbcc = 1)\r\n  BEGIN\r\n    DBCC DBREINDEX ( [%s] )\r\n  END\r\nGO\r\n", names.table.c_str());
}

struct Procedure {
  const char* prefix;
  const char* guard_gap;  // up_Append_ has one blank less in its guard
  bool (*creatable)(const TableDef*);
  void (*create)(ScriptWriter&, const TableDef*, const SqlNames&);
};

// Written in this order, after the record-id function.
constexpr Procedure kProcedures[] = {
    {"up_Sel_", "   ", HasFields, WriteSel},    {"up_Sel2_", "   ", Always, WriteSel2},
    {"up_Append_", " ", Always, WriteAppend},  {"up_Upd_", "   ", HasFields, WriteUpd},
    {"up_Upd2_", "   ", HasFields, WriteUpd2}, {"up_TrSel_", "   ", HasTextFields, WriteTrSel},
    {"up_Add_", "   ", Always, WriteAdd},      {"up_Del_", "   ", Always, WriteDel},
    {"up_Reorg_", "   ", Always, WriteReorg},
};

void WriteProcedureDrop(ScriptWriter& out, const SqlNames& names, const Procedure& procedure) {
  // up_Sel2_ reads the view, not the data table: without the view it is
  // known by its sibling up_Sel_, dropped before it by the owner's script.
  const std::string judged = std::string(procedure.prefix) == "up_Sel2_" ? "up_Sel_" : procedure.prefix;
  const std::string guard = names.BaseObjectIsThisTables(InQuotes("[dbo].[" + judged + names.base + "]"));
  out.Format(
      "IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'%sand [name] = '%s%s')\r\n"
      "   AND %s\r\n"
      "  DROP PROCEDURE [dbo].[%s%s]\r\nGO\r\n",
      procedure.guard_gap, procedure.prefix, names.base_text.c_str(), guard.c_str(), procedure.prefix,
      names.base.c_str());
}

void WriteProcedure(ScriptWriter& out, const TableDef* td, const SqlNames& names, const Procedure& procedure) {
  out.Put(kScriptSeparator);
  WriteProcedureDrop(out, names, procedure);
  // An empty column list is rejected by the server: the old version is
  // dropped and none is created.
  if (procedure.creatable(td)) procedure.create(out, td, names);
}

}  // namespace

void WriteTableProcedures(ScriptWriter& out, const TableDef* td) {
  const SqlNames names(td);
  WriteNextRecIdFunction(out, td, names);
  for (const Procedure& procedure : kProcedures) WriteProcedure(out, td, names, procedure);
  out.Put("\r\n");
}

void WriteTableProcedureDrops(ScriptWriter& out, const TableDef* td) {
  const SqlNames names(td);
  for (const Procedure& procedure : kProcedures) WriteProcedureDrop(out, names, procedure);
  WriteNextRecIdFunctionDrop(out, td, names);
}

}  // namespace lerv32
