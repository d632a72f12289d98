// Navigation procedures of one key. With key tables they search the composed
// key values of the key table; without, the direct form searches the data
// table itself. Both forms replace whatever procedures a former run for the
// same table created, never another table's of the same name.
#include <string>

#include "schema/generators.h"
#include "schema/key_parts.h"

namespace lerv32 {
namespace {

// Guards for all eight procedures, also in the direct form, which creates
// only six: a table that gave up key tables loses its paging procedures.
constexpr const char* kDropOrder[] = {"up_First_",   "up_Last_",   "up_Prior_", "up_Next_",
                                      "up_Prior50_", "up_Next50_", "up_FindL_", "up_FindF_"};

enum class GuardUse {
  kReplace,  // drops this table's procedure; another table's stops the script
  kDrop,     // drops this table's procedure, passes another table's by
  kCheck,    // drops nothing; another table's procedure stops the script
};

struct KeyTableNames {
  const SqlNames& names;
  const char* key;  // ready for brackets
  bool filter;
};

// A procedure of this name that is not of this table's shape belongs to
// another table whose composed name is the same (table T with key A_B and
// table T_A with key B both have up_First_T_A_B): it is never dropped. Every
// navigation procedure on the data table selects "TOP 1 RecId FROM" it, every
// one on the key table "TOP 1 [DataRecId]" or "TOP 50 [DataRecId]" from the
// key table. The key table of T and the data table of a table named T_Keys
// are one name, ut_T_Keys (T with key Keys_K and T_Keys with key K both have
// up_First_T_Keys_K): the shape tells them apart, whatever the fields are
// called. A procedure whose text cannot be read counts as this table's.
void WriteOwnerTest(ScriptWriter& out, const SqlNames& names, const std::string& procedure, bool negated) {
  out.Format("  DECLARE @Text nvarchar(max) = %s\r\n",
             MarkedText("OBJECT_DEFINITION(OBJECT_ID('" + ObjectIdName(procedure) + "'))").c_str());
  out.Format(
      "  IF %s@Text IS NULL OR CHARINDEX(%s, @Text) > 0\r\n"
      "     OR (CHARINDEX(%s, @Text) > 0\r\n"
      "         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))%s\r\n",
      negated ? "NOT (" : "", MarkedLiteral("TOP 1 RecId FROM [dbo].[" + names.table + "]").c_str(),
      MarkedLiteral("[dbo].[" + names.table + "_Keys]").c_str(), negated ? ")" : "");
}

void WriteForeignProcedureError(ScriptWriter& out, const std::string& procedure) {
  out.Format("    RAISERROR('Prozedur %%s geh\xf6rt zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, '%s')\r\n",
             InQuotes(procedure).c_str());
}

void WriteDropGuards(ScriptWriter& out, const SqlNames& names, const TableDef* td, int32_t key, GuardUse use) {
  const std::string base = BaseNameOf(td);
  for (const char* prefix : kDropOrder) {
    const std::string procedure = prefix + base + "_" + std::string(NameText(td->Keys[key].Name));
    out.Format("IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = '%s')\r\nBEGIN\r\n",
               InQuotes(procedure).c_str());
    WriteOwnerTest(out, names, procedure, use == GuardUse::kCheck);
    if (use == GuardUse::kCheck) {
      WriteForeignProcedureError(out, procedure);
    } else {
      out.Format("    DROP PROCEDURE [dbo].[%s]\r\n", InBrackets(procedure).c_str());
      if (use == GuardUse::kReplace) {
        out.Put("  ELSE\r\n");
        WriteForeignProcedureError(out, procedure);
      }
    }
    out.Put("END\r\nGO\r\n");
  }
}

// Rows that fail the key's filter are never returned.
void WriteFilterCondition(ScriptWriter& out, const KeyTableNames& k) {
  if (k.filter) out.Format("[%s_Filter] = 1 AND ", k.key);
}

// First ("") and Last (" DESC").
void WriteEndProcedure(ScriptWriter& out, const KeyTableNames& k, const char* name, const char* order) {
  out.Format("\r\nCREATE PROCEDURE [dbo].[up_%s_%s_%s]\r\nAS\r\n  SELECT TOP 1 [DataRecId] FROM [dbo].[%s_Keys]", name,
             k.names.base.c_str(), k.key, k.names.table.c_str());
  if (k.filter) out.Format("\r\n  WHERE [%s_Filter] = 1", k.key);
  out.Format(" ORDER BY [%s_Value]%s\r\nGO\r\n", k.key, order);
}

// Next, Prior and their pages of fifty: the rows beyond the value of @mRecNo,
// which itself may fail the filter.
void WriteStepProcedure(ScriptWriter& out, const KeyTableNames& k, const char* name, int rows, char comparison,
                        const char* order) {
  out.Format(
      "\r\nCREATE PROCEDURE [dbo].[up_%s_%s_%s] @mRecNo integer\r\nAS\r\n"
      "  SELECT TOP %d [DataRecId] FROM [dbo].[%s_Keys]\r\n  WHERE ",
      name, k.names.base.c_str(), k.key, rows, k.names.table.c_str());
  WriteFilterCondition(out, k);
  out.Format(
      "[%s_Value] %c (SELECT [%s_Value] FROM [dbo].[%s_Keys] WHERE [DataRecId] = @mRecNo)\r\n"
      "  ORDER BY [%s_Value]%s\r\nGO\r\n",
      k.key, comparison, k.key, k.names.table.c_str(), k.key, order);
}

// The first value at or above the prefix, returned only if it starts with it.
void WriteFindFirst(ScriptWriter& out, const KeyTableNames& k) {
  out.Format(
      "\r\nCREATE PROCEDURE [dbo].[up_FindF_%s_%s] @xKey char(128),@xLen integer\r\nAS\r\n"
      "  SELECT a.[DataRecId] FROM\r\n"
      "    ( SELECT TOP 1 [DataRecId],[%s_Value] AS Key_Value FROM [dbo].[%s_Keys]\r\n      WHERE ",
      k.names.base.c_str(), k.key, k.key, k.names.table.c_str());
  WriteFilterCondition(out, k);
  out.Format(
      "[%s_Value] >= SUBSTRING(@xKey,1,@xLen)\r\n      ORDER BY [%s_Value]\r\n    ) a\r\n"
      "  WHERE a.Key_Value like SUBSTRING(@xKey,1,@xLen)+'%%'\r\nGO\r\n",
      k.key, k.key);
}

void WriteFindLast(ScriptWriter& out, const KeyTableNames& k) {
  out.Format(
      "\r\nCREATE PROCEDURE [dbo].[up_FindL_%s_%s] @xKey char(128),@xLen integer\r\nAS\r\n"
      "  SELECT TOP 1 [DataRecId] FROM [dbo].[%s_Keys]\r\n  WHERE ",
      k.names.base.c_str(), k.key, k.names.table.c_str());
  WriteFilterCondition(out, k);
  out.Format("[%s_Value] like SUBSTRING(@xKey,1,@xLen)+'%%'\r\n  ORDER BY [%s_Value] DESC\r\nGO\r\n", k.key, k.key);
}

void WriteKeyTableProcedures(ScriptWriter& out, const KeyTableNames& k) {
  WriteEndProcedure(out, k, "First", "");
  WriteEndProcedure(out, k, "Last", " DESC");
  WriteStepProcedure(out, k, "Next", 1, '>', "");
  WriteStepProcedure(out, k, "Prior", 1, '<', " DESC");
  WriteStepProcedure(out, k, "Next50", 50, '>', "");
  WriteStepProcedure(out, k, "Prior50", 50, '<', " DESC");
  WriteFindFirst(out, k);
  WriteFindLast(out, k);
}

}  // namespace

void WriteKeyProcedures(ScriptWriter& out, const TableDef* td, int32_t key) {
  const SqlNames names(td);
  WriteDropGuards(out, names, td, key, GuardUse::kReplace);
  if (td->UseKeyTable == 0) {
    WriteDirectKeyProcedures(out, td, key);
    return;
  }
  const std::string key_name = KeyName(td, key);
  WriteKeyTableProcedures(out, KeyTableNames{names, key_name.c_str(), KeyHasFilter(td, key)});
}

void WriteKeyProcedureDrops(ScriptWriter& out, const TableDef* td, int32_t key) {
  WriteDropGuards(out, SqlNames(td), td, key, GuardUse::kDrop);
}

void WriteForeignKeyProcedureChecks(ScriptWriter& out, const TableDef* td) {
  const SqlNames names(td);
  for (int32_t key = 0; key < KeysInUse(td); ++key) WriteDropGuards(out, names, td, key, GuardUse::kCheck);
}

}  // namespace lerv32
