// The table script (table, column upgrades, view), the index script of a key
// and the drop script. The Transact-SQL form guards every creation so that it
// can run again over an existing database; the standard form is bare.
#include <string>

#include "schema/generators.h"
#include "schema/key_fields.h"
#include "schema/type_mapping.h"
#include "tabledef/table_def.h"

namespace lerv32 {
namespace {

bool IsSqlKey(const TableDef* td, int32_t key) { return (td->SqlKeyMask & (uint32_t{1} << key)) != 0; }

// The standard form names the table by the definition's name alone.
std::string StandardTable(const TableDef* td) { return InBrackets(NameText(td->TableName)); }

void WriteStandardTable(ScriptWriter& out, const TableDef* td) {
  out.Format("CREATE TABLE [%s]\r\n(\r\n   RecId integer NOT NULL\r\n", StandardTable(td).c_str());
  for (int i = 0; i < FieldsInUse(td); ++i) {
    const FieldDef& field = td->Fields[i];
    out.Format("  ,[%s] %s\r\n", Column(field).c_str(), SqlFieldTypeName(field, false));
  }
  out.Put(")\r\nGO\r\n");
  // Unique: two clients taking the same highest RecId + 1 must not both
  // store a record under it.
  out.Format("CREATE UNIQUE INDEX [IkRecId] ON [%s] (RecId)\r\nGO\r\n", StandardTable(td).c_str());
}

void WriteCreateTable(ScriptWriter& out, const TableDef* td, const SqlNames& names) {
  out.Format(
      "IF 0 = (SELECT count(*) from [sysobjects] where ([xtype] = 'U' or [xtype] = 'V') and [name] = '%s')\r\n"
      "BEGIN\r\n",
      names.table_text.c_str());
  out.Format("CREATE TABLE [dbo].[%s]\r\n(\r\n   [RecId]  integer NOT NULL\r\n  ,[MandId] integer DEFAULT 1\r\n",
             names.table.c_str());
  for (int i = 0; i < FieldsInUse(td); ++i) {
    const FieldDef& field = td->Fields[i];
    out.Format("  ,[%s] %s DEFAULT %s\r\n", Column(field).c_str(), SqlFieldTypeName(field, true),
               SqlFieldDefault(field));
  }
  out.Format("  CONSTRAINT [Pk_%s]  PRIMARY KEY NONCLUSTERED ( [RecId] )\r\n)\r\nEND\r\nGO\r\n", names.base.c_str());
}

// The key table's name may be another table's data table (table T's key
// table and the data table of a table named T_Keys are both ut_T_Keys): one
// with a RecId column is never dropped, and a table script stops before it
// makes anything.
std::string KeyTableIdName(const SqlNames& names) { return InQuotes("[dbo].[" + names.table + "_Keys]"); }

void WriteKeyTableCheck(ScriptWriter& out, const SqlNames& names) {
  out.Format(
      "IF 0 < (SELECT count(*) from [syscolumns] where [id] = OBJECT_ID('%s', 'U') and [name] = 'RecId')\r\n"
      "  RAISERROR('Tabelle %%s ist keine Schl\xfcsseltabelle und wird nicht ersetzt', 16, 1, '%s_Keys')\r\nGO\r\n",
      KeyTableIdName(names).c_str(), names.table_text.c_str());
}

// A key table of an earlier run goes even when this one has none.
void WriteKeyTableDrops(ScriptWriter& out, const SqlNames& names) {
  for (const char* trigger : {"KeyDel", "KeyUpd"}) {
    out.Format(
        "IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'TR'   and [name] = 'tr_%s_%s')\r\n"
        "   AND %s\r\n"
        "  DROP TRIGGER [dbo].[tr_%s_%s]\r\nGO\r\n",
        names.base_text.c_str(), trigger,
        names.BaseObjectIsThisTables(InQuotes("[dbo].[tr_" + names.base + "_" + trigger + "]")).c_str(),
        names.base.c_str(), trigger);
  }
  out.Format(
      "IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'U' and [name] = '%s_Keys')\r\n"
      "   AND 0 = (SELECT count(*) from [syscolumns] where [id] = OBJECT_ID('%s', 'U') and [name] = 'RecId')\r\n"
      "  DROP TABLE [dbo].[%s_Keys]\r\nGO\r\n\r\n",
      names.table_text.c_str(), KeyTableIdName(names).c_str(), names.table.c_str());
}

// A table of an older definition gets the columns it lacks, with defaults.
void WriteColumnUpgrades(ScriptWriter& out, const TableDef* td, const SqlNames& names) {
  for (int i = 0; i < FieldsInUse(td); ++i) {
    const FieldDef& field = td->Fields[i];
    out.Format(
        "IF 0 = (select count(*) from syscolumns sc inner join sysobjects so\r\n"
        "        on sc.[id] = so.[id] and so.[name] = '%s' and sc.[name] = '%s')\r\nBEGIN\r\n",
        names.table_text.c_str(), ColumnText(field).c_str());
    out.Format("  ALTER TABLE [dbo].[%s] ADD [%s] %s NOT NULL DEFAULT %s\r\n", names.table.c_str(),
               Column(field).c_str(), SqlFieldTypeName(field, true), SqlFieldDefault(field));
    out.Put("END\r\nGO\r\n");
  }
}

// Text columns shorter than their field are widened.
void WriteColumnWidening(ScriptWriter& out, const TableDef* td, const SqlNames& names) {
  for (int i = 0; i < FieldsInUse(td); ++i) {
    const FieldDef& field = td->Fields[i];
    if (!IsTextField(field)) continue;
    out.Format(
        "IF %d > (select length from syscolumns sc inner join sysobjects so\r\n"
        "        on sc.[id] = so.[id] and so.[name] = '%s' and sc.[name] = '%s')\r\nBEGIN\r\n",
        field.Len, names.table_text.c_str(), ColumnText(field).c_str());
    out.Format("  ALTER TABLE [dbo].[%s] ALTER COLUMN [%s] %s\r\n", names.table.c_str(), Column(field).c_str(),
               SqlFieldTypeName(field, true));
    out.Put("END\r\nGO\r\n");
  }
}

void WriteViewDrop(ScriptWriter& out, const SqlNames& names) {
  out.Format(
      "IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'V' and [name] = '%s')\r\n"
      "   AND %s\r\n"
      "  DROP VIEW [dbo].[%s]\r\nGO\r\n",
      names.base_text.c_str(), names.BaseObjectIsThisTables(InQuotes("[dbo].[" + names.base + "]")).c_str(),
      names.base.c_str());
}

void WriteView(ScriptWriter& out, const TableDef* td, const SqlNames& names) {
  WriteViewDrop(out, names);
  out.Format("CREATE VIEW [dbo].[%s] AS\r\n  SELECT RecId\r\n", names.base.c_str());
  for (int i = 0; i < FieldsInUse(td); ++i) out.Format("    ,[%s]\r\n", Column(td->Fields[i]).c_str());
  out.Format("  FROM [dbo].[%s]\r\nGO\r\n", names.table.c_str());
}

void WriteTransactSqlTable(ScriptWriter& out, const TableDef* td) {
  const SqlNames names(td);
  WriteForeignKeyProcedureChecks(out, td);
  if (td->UseKeyTable != 0) WriteKeyTableCheck(out, names);
  out.Put(kScriptSeparator);
  WriteCreateTable(out, td, names);
  WriteKeyTableDrops(out, names);
  WriteColumnUpgrades(out, td, names);
  WriteColumnWidening(out, td, names);
  WriteView(out, td, names);
  if (td->UseKeyTable != 0) WriteKeyTableScript(out, td);
}

// The index is made only where the table lacks it, so that the script can run
// again over what it made before.
// REQUIRES: table and index are ready for a string literal.
void WriteIndexGuard(ScriptWriter& out, const std::string& table, const std::string& index) {
  out.Format(
      "IF 0 = (select count(*)\r\n   from       sysindexes si\r\n   inner join sysobjects so on\r\n"
      "   so.[xtype]    = 'U'\r\n   and so.[name] = '%s'\r\n   and so.[id]   = si.[id]\r\n"
      "   and si.[name] = 'Ik_%s')\r\n",
      table.c_str(), index.c_str());
}

void WriteKeyTableIndex(ScriptWriter& out, const TableDef* td, int32_t key, const SqlNames& names) {
  WriteIndexGuard(out, names.table_text + "_Keys", KeyText(td, key));
  const std::string key_name = KeyName(td, key);
  const char* name = key_name.c_str();
  if (KeyHasFilter(td, key)) {
    out.Format("CREATE INDEX [Ik_%s] ON [dbo].[%s_Keys]\r\n( [%s_Filter],[%s_Value],[DataRecId] )\r\nGO\r\n", name,
               names.table.c_str(), name, name);
  } else {
    out.Format("CREATE INDEX [Ik_%s] ON [dbo].[%s_Keys]\r\n( [%s_Value],[DataRecId] )\r\nGO\r\n", name,
               names.table.c_str(), name);
  }
}

void WriteDataTableIndex(ScriptWriter& out, const TableDef* td, int32_t key, bool transact_sql,
                         const SqlNames& names) {
  const KeyDef& key_def = td->Keys[key];
  if (transact_sql) {
    WriteIndexGuard(out, names.table_text, KeyText(td, key));
    out.Format("CREATE INDEX [Ik_%s] ON [dbo].[%s]\r\n(", KeyName(td, key).c_str(), names.table.c_str());
  } else {
    out.Format("CREATE INDEX [Ik_%s] ON [%s]\r\n(", KeyName(td, key).c_str(), StandardTable(td).c_str());
  }
  const char* separator = "";
  for (int t = 0; t < key_def.TokenCnt && t < LERV32_MAX_KEY_FIELDS; ++t) {
    const FieldDef* field = FieldAt(td, key_def.TokenFieldNo[t]);
    if (field == nullptr) continue;
    out.Format("%s[%s]", separator, Column(*field).c_str());
    separator = ",";
  }
  out.Put(",RecId)\r\nGO\r\n");
}

// Only a data table: one without a RecId column is another table's key table.
void WriteTableDrop(ScriptWriter& out, const SqlNames& names) {
  out.Format(
      "IF 0 < (SELECT count(*) from [syscolumns] where [id] = OBJECT_ID('%s', 'U') and [name] = 'RecId')\r\n"
      "  DROP TABLE [dbo].[%s]\r\nGO\r\n",
      InQuotes("[dbo].[" + names.table + "]").c_str(), names.table.c_str());
}

}  // namespace

void WriteTableScript(ScriptWriter& out, const TableDef* td, bool transact_sql) {
  if (transact_sql) {
    WriteTransactSqlTable(out, td);
  } else {
    WriteStandardTable(out, td);
  }
}

void WriteIndexScript(ScriptWriter& out, const TableDef* td, int32_t key, bool transact_sql) {
  const SqlNames names(td);
  const bool key_table = transact_sql && td->UseKeyTable != 0;
  if (key_table) WriteKeyTableIndex(out, td, key, names);
  if (!key_table || IsSqlKey(td, key)) WriteDataTableIndex(out, td, key, transact_sql, names);
  if (transact_sql) WriteKeyProcedures(out, td, key);
}

// Objects go before what they use; each drop is guarded, so that the script
// can run again and over what an older run left.
void WriteDropScript(ScriptWriter& out, const TableDef* td) {
  const SqlNames names(td);
  for (int32_t key = 0; key < td->KeyCnt && key < LERV32_MAX_KEYS; ++key) WriteKeyProcedureDrops(out, td, key);
  WriteTableProcedureDrops(out, td);
  WriteViewDrop(out, names);
  WriteKeyTableDrops(out, names);
  WriteTableDrop(out, names);
}

}  // namespace lerv32
