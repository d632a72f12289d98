// The key table of a table: one row per record holding the composed value of
// every key (and whether the record passes the key's filter), kept current by
// two triggers and filled once by touching every row.
#include <string>

#include "schema/generators.h"
#include "schema/key_composition.h"
#include "schema/key_parts.h"

namespace lerv32 {
namespace {

// The record id closes every value, so that values are unique and equal keys
// follow the record ids.
constexpr int kRecIdWidth = 10;

std::string EscapeToSql(char escaped) {
  switch (escaped) {
    case '!':
      return "NOT";
    case '$':
      return "SUBSTRING";
    case '&':
      return "AND";
    case '+':
      return "1 = ";
    case '-':
      return "0 = ";
    case '|':
      return "OR";
    default:
      return std::string(1, escaped);
  }
}

void WriteValueParts(ScriptWriter& out, const KeyFieldList& fields) {
  for (const FieldDef* field : fields) out.Put(KeyPartSql(*field));
}

int ValueLength(const KeyFieldList& fields) {
  int length = kRecIdWidth;
  for (const FieldDef* field : fields) length += KeyPartWidth(*field);
  return length;
}

void WriteTable(ScriptWriter& out, const TableDef* td, const SqlNames& names) {
  out.Format(
      "CREATE TABLE [dbo].[%s_Keys]\r\n(\r\n   [DataRecId]  integer NOT NULL\r\n"
      "  ,[DataMandId] integer DEFAULT 1\r\n",
      names.table.c_str());
  for (int32_t key = 0; key < KeysInUse(td); ++key) {
    const std::string key_name = KeyName(td, key);
    if (KeyHasFilter(td, key)) out.Format("  ,[%s_Filter] TINYINT NOT NULL\r\n", key_name.c_str());
    out.Format("  ,[%s_Value] CHAR(%d) NOT NULL\r\n", key_name.c_str(), ValueLength(KeyFields(td, key)));
  }
  out.Format("  CONSTRAINT [Pk_%s_Keys]  PRIMARY KEY NONCLUSTERED ( [DataRecId] )\r\n)\r\nGO\r\n", names.table.c_str());
}

void WriteDeleteTrigger(ScriptWriter& out, const SqlNames& names) {
  out.Format("CREATE TRIGGER [dbo].[tr_%s_KeyDel] ON [dbo].[%s]\r\nFOR DELETE\r\nAS\r\n  SET NOCOUNT ON\r\n",
             names.base.c_str(), names.table.c_str());
  out.Format(
      "  DELETE FROM [dbo].[%s_Keys] /*WITH (SERIALIZABLE)*/\r\n"
      "  WHERE [DataRecId] IN (SELECT [RecId] FROM DELETED)\r\n",
      names.table.c_str());
  out.Put("GO\r\n\r\n");
}

// A new record id (or, without a tenant, a new MandId) replaces the record's
// key row: the old row goes, a fresh one comes from the inserted rows.
void WriteRekeyBranch(ScriptWriter& out, const TableDef* td, const SqlNames& names, bool tenant) {
  out.Put(tenant ? "  IF UPDATE([RecId])\r\n  BEGIN\r\n" : "  IF UPDATE([RecId]) OR UPDATE([MandId])\r\n  BEGIN\r\n");
  out.Format(
      "    DELETE FROM [dbo].[%s_Keys] /*WITH (SERIALIZABLE)*/\r\n"
      "    WHERE [DataRecId] IN (SELECT [RecId] FROM DELETED)\r\n\r\n",
      names.table.c_str());
  out.Format("    INSERT INTO [dbo].[%s_Keys] /*WITH (SERIALIZABLE)*/\r\n    ([DataRecId],[DataMandId]",
             names.table.c_str());
  for (int32_t key = 0; key < KeysInUse(td); ++key) {
    if (KeyHasFilter(td, key)) out.Format(",[%s_Filter]", KeyName(td, key).c_str());
    out.Format(",[%s_Value]", KeyName(td, key).c_str());
  }
  out.Put(tenant ? ")\r\n    (SELECT [RecId],1 AS [MandId]\r\n" : ")\r\n    (SELECT [RecId],[MandId]\r\n");
  for (int32_t key = 0; key < KeysInUse(td); ++key) {
    if (KeyHasFilter(td, key)) out.Put("     ," + FilterToSql(td->KeyFilter[key]));
    out.Put("     ,UPPER(");
    WriteValueParts(out, KeyFields(td, key));
    out.Put("STR(RecId,10))\r\n");
  }
  out.Put("\r\n    FROM INSERTED)\r\n  END\r\n");
}

// Any other change rewrites the values and filter flags in place; without
// keys there is nothing to rewrite, and an empty SET would fail the batch.
void WriteRewriteBranch(ScriptWriter& out, const TableDef* td, const SqlNames& names) {
  if (KeysInUse(td) == 0) return;
  out.Put("  ELSE\r\n  BEGIN\r\n");
  out.Format("    UPDATE [dbo].[%s_Keys] /*WITH (SERIALIZABLE)*/ SET\r\n", names.table.c_str());
  for (int32_t key = 0; key < KeysInUse(td); ++key) {
    out.Format("   %c[%s_Value] = UPPER(", key == 0 ? ' ' : ',', KeyName(td, key).c_str());
    WriteValueParts(out, KeyFields(td, key));
    out.Put("STR([RecId],10))\r\n");
    if (KeyHasFilter(td, key)) {
      out.Format("   ,[%s_Filter] = ", KeyName(td, key).c_str());
      out.Put(FilterToSql(td->KeyFilter[key]));
    }
  }
  out.Put("    FROM INSERTED WHERE [DataRecId] = [RecId]\r\n");
  out.Put("  END\r\n");
}

void WriteUpdateTrigger(ScriptWriter& out, const TableDef* td, const SqlNames& names) {
  out.Format(
      "CREATE TRIGGER [dbo].[tr_%s_KeyUpd] ON [dbo].[%s]\r\nFOR INSERT, UPDATE\r\nAS\r\n  SET NOCOUNT ON\r\n",
      names.base.c_str(), names.table.c_str());
  // With a tenant every row of the table belongs to it: MandId never moves a
  // key row and is stored as 1, whatever the table's own tenant switch.
  const bool tenant = !CurrentTenant().empty();
  WriteRekeyBranch(out, td, names, tenant);
  WriteRewriteBranch(out, td, names);
  out.Put("GO\r\n\r\n");
}

}  // namespace

std::string FilterToSql(const char* filter) {
  std::string sql = "CASE WHEN ";
  for (const char* next = filter != nullptr ? filter : ""; *next != '\0'; ++next) {
    if (*next != '\\') {
      sql += *next;
      continue;
    }
    if (*++next == '\0') break;  // a trailing backslash escapes nothing
    sql += EscapeToSql(*next);
  }
  sql += " THEN 1 ELSE 0 END\r\n";
  return sql;
}

void WriteKeyTableScript(ScriptWriter& out, const TableDef* td) {
  const SqlNames names(td);
  WriteTable(out, td, names);
  WriteDeleteTrigger(out, names);
  WriteUpdateTrigger(out, td, names);
  // Setting RecId to itself runs the trigger's re-key branch for every row.
  out.Format("UPDATE [dbo].[%s] SET RecId = RecId\r\nGO\r\n\r\n", names.table.c_str());
}

}  // namespace lerv32
