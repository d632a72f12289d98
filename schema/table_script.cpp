// The table script (table, column upgrades, view), the index script of a key
// and the drop script. The Transact-SQL form guards every creation so that it
// can run again over an existing database; the standard form is bare.
#include "schema/generators.h"
#include "schema/key_fields.h"
#include "schema/type_mapping.h"
#include "tabledef/table_def.h"

namespace lerv32 {
namespace {

bool IsSqlKey(const TableDef* td, int32_t key) { return (td->SqlKeyMask & (uint32_t{1} << key)) != 0; }

void WriteStandardTable(ScriptWriter& out, const TableDef* td) {
  out.Format("CREATE TABLE [%s]\r\n(\r\n   RecId integer NOT NULL\r\n", td->TableName);
  for (int i = 0; i < FieldsInUse(td); ++i) {
    const FieldDef& field = td->Fields[i];
    out.Format("  ,[%s] %s\r\n", field.Name, SqlFieldTypeName(field, false));
  }
  out.Put(")\r\nGO\r\n");
  // Unique: two clients taking the same highest RecId + 1 must not both
  // store a record under it.
  out.Format("CREATE UNIQUE INDEX [IkRecId] ON [%s] (RecId)\r\nGO\r\n", td->TableName);
}

void WriteCreateTable(ScriptWriter& out, const TableDef* td, const SqlNames& names) {
  out.Format(
      "IF 0 = (SELECT count(*) from [sysobjects] where ([xtype] = 'U' or [xtype] = 'V') and [name] = '%s')\r\n"
      "BEGIN\r\n",
      names.table);
  out.Format("CREATE TABLE [dbo].[%s]\r\n(\r\n   [RecId]  integer NOT NULL\r\n  ,[MandId] integer DEFAULT 1\r\n",
             names.table);
  for (int i = 0; i < FieldsInUse(td); ++i) {
    const FieldDef& field = td->Fields[i];
    out.Format("  ,[%s] %s DEFAULT %s\r\n", field.Name, SqlFieldTypeName(field, true), SqlFieldDefault(field));
  }
  out.Format("  CONSTRAINT [Pk_%s]  PRIMARY KEY NONCLUSTERED ( [RecId] )\r\n)\r\nEND\r\nGO\r\n", names.base);
}

// A key table of an earlier run goes even when this one has none.
void WriteKeyTableDrops(ScriptWriter& out, const SqlNames& names) {
  for (const char* trigger : {"KeyDel", "KeyUpd"}) {
    out.Format(
        "IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'TR'   and [name] = 'tr_%s_%s')\r\n"
        "  DROP TRIGGER [dbo].[tr_%s_%s]\r\nGO\r\n",
        names.base, trigger, names.base, trigger);
  }
  out.Format(
      "IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'U' and [name] = '%s_Keys')\r\n"
      "  DROP TABLE [dbo].[%s_Keys]\r\nGO\r\n\r\n",
      names.table, names.table);
}

// A table of an older definition gets the columns it lacks, with defaults.
void WriteColumnUpgrades(ScriptWriter& out, const TableDef* td, const SqlNames& names) {
  for (int i = 0; i < FieldsInUse(td); ++i) {
    const FieldDef& field = td->Fields[i];
    out.Format(
        "IF 0 = (select count(*) from syscolumns sc inner join sysobjects so\r\n"
        "        on sc.[id] = so.[id] and so.[name] = '%s' and sc.[name] = '%s')\r\nBEGIN\r\n",
        names.table, field.Name);
    out.Format("  ALTER TABLE [dbo].[%s] ADD [%s] %s NOT NULL DEFAULT %s\r\n", names.table, field.Name,
               SqlFieldTypeName(field, true), SqlFieldDefault(field));
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
        field.Len, names.table, field.Name);
    out.Format("  ALTER TABLE [dbo].[%s] ALTER COLUMN [%s] %s\r\n", names.table, field.Name,
               SqlFieldTypeName(field, true));
    out.Put("END\r\nGO\r\n");
  }
}

void WriteView(ScriptWriter& out, const TableDef* td, const SqlNames& names) {
  out.Format(
      "IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'V' and [name] = '%s')\r\n"
      "  DROP VIEW [dbo].[%s]\r\nGO\r\n",
      names.base, names.base);
  out.Format("CREATE VIEW [dbo].[%s] AS\r\n  SELECT RecId\r\n", names.base);
  for (int i = 0; i < FieldsInUse(td); ++i) out.Format("    ,[%s]\r\n", td->Fields[i].Name);
  out.Format("  FROM [dbo].[%s]\r\nGO\r\n", names.table);
}

void WriteTransactSqlTable(ScriptWriter& out, const TableDef* td) {
  const SqlNames names(td);
  out.Put(kScriptSeparator);
  WriteCreateTable(out, td, names);
  WriteKeyTableDrops(out, names);
  WriteColumnUpgrades(out, td, names);
  WriteColumnWidening(out, td, names);
  WriteView(out, td, names);
  if (td->UseKeyTable != 0) WriteKeyTableScript(out, td);
}

void WriteKeyTableIndex(ScriptWriter& out, const TableDef* td, int32_t key, const SqlNames& names) {
  const char* name = td->Keys[key].Name;
  if (KeyHasFilter(td, key)) {
    out.Format("CREATE INDEX [Ik_%s] ON [dbo].[%s_Keys]\r\n( [%s_Filter],[%s_Value],[DataRecId] )\r\nGO\r\n", name,
               names.table, name, name);
  } else {
    out.Format("CREATE INDEX [Ik_%s] ON [dbo].[%s_Keys]\r\n( [%s_Value],[DataRecId] )\r\nGO\r\n", name, names.table,
               name);
  }
}

void WriteDataTableIndex(ScriptWriter& out, const TableDef* td, int32_t key, bool transact_sql,
                         const SqlNames& names) {
  const KeyDef& key_def = td->Keys[key];
  if (transact_sql) {
    out.Format(
        "IF 0 = (select count(*)\r\n   from       sysindexes si\r\n   inner join sysobjects so on\r\n"
        "   so.[xtype]    = 'U'\r\n   and so.[name] = '%s'\r\n   and so.[id]   = si.[id]\r\n"
        "   and si.[name] = 'Ik_%s')\r\nCREATE INDEX [Ik_%s] ON [dbo].[%s]\r\n(",
        names.table, key_def.Name, key_def.Name, names.table);
  } else {
    out.Format("CREATE INDEX [Ik_%s] ON [%s]\r\n(", key_def.Name, td->TableName);
  }
  const char* separator = "";
  for (int t = 0; t < key_def.TokenCnt && t < LERV32_MAX_KEY_FIELDS; ++t) {
    const FieldDef* field = FieldAt(td, key_def.TokenFieldNo[t]);
    if (field == nullptr) continue;
    out.Format("%s%s", separator, field->Name);
    separator = ",";
  }
  out.Put(",RecId)\r\nGO\r\n");
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

void WriteDropScript(ScriptWriter& out, const TableDef* td) {
  const char* name = td->TableName;
  out.Format("DROP VIEW %s\r\nGO\r\nDROP TABLE ut_%s\r\nGO\r\n", name, name);
  for (const char* procedure : {"Reorg", "Sel", "Add", "Append", "Upd", "Del"}) {
    out.Format("DROP PROCEDURE up_%s_%s\r\nGO\r\n", procedure, name);
  }
  for (int32_t k = 0; k < td->KeyCnt && k < LERV32_MAX_KEYS; ++k) {
    for (const char* procedure : {"Prior", "Next", "First", "Last", "FindF", "FindL"}) {
      out.Format("DROP PROCEDURE up_%s_%s_%s\r\nGO\r\n", procedure, name, td->Keys[k].Name);
    }
  }
}

}  // namespace lerv32
