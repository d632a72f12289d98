// Navigation procedures over the data table itself, for tables without key
// tables: records ordered by the key's columns and the record id. Next and
// prior walk down a cascade from "same key, further record id" to "further
// first column"; prefix search cuts the search key into the key's fields.
#include <string>

#include "schema/generators.h"
#include "schema/key_parts.h"

namespace lerv32 {
namespace {

struct DirectKey {
  const TableDef* td;
  const SqlNames& names;
  const char* key;  // ready for brackets
  const KeyFieldList& fields;
};

std::string Bracketed(const FieldDef& field) { return "[" + Column(field) + "]"; }

// " [A],[B]", each with suffix.
std::string ColumnList(const KeyFieldList& fields, const char* suffix) {
  std::string list;
  for (const FieldDef* field : fields) list += (list.empty() ? " " : ",") + Bracketed(*field) + suffix;
  return list;
}

// " @oldA,@oldB".
std::string OldValueList(const DirectKey& k) {
  std::string list;
  for (const FieldDef* field : k.fields) list += (list.empty() ? " " : ",") + VariableName("@old", k.td, *field);
  return list;
}

std::string OrderClause(const KeyFieldList& fields, bool descending) {
  const char* direction = descending ? " DESC" : "";
  return "ORDER BY" + ColumnList(fields, direction) + ",RecId" + direction;
}

void WriteSeparator(ScriptWriter& out) { out.Format("\r\n%s", kScriptSeparator); }

// First ("ersten") and Last ("letzten").
void WriteEndProcedure(ScriptWriter& out, const DirectKey& k, const char* word, const char* name, bool descending) {
  WriteSeparator(out);
  out.Format("/* %s Datensatz aus %s in Folge %s ermittln */\r\n", word, InComment(k.names.base).c_str(),
             InComment(k.key).c_str());
  out.Format("CREATE PROCEDURE [dbo].[up_%s_%s_%s] AS\r\n", name, k.names.base.c_str(), k.key);
  out.Format("  SELECT TOP 1 RecId FROM [dbo].[%s] %s\r\nGO\r\n", k.names.table.c_str(),
             OrderClause(k.fields, descending).c_str());
}

// Reads the key columns of @oldRecId into @old... variables; a record that
// does not exist answers 0.
void WriteOldValues(ScriptWriter& out, const DirectKey& k) {
  out.Put("  DECLARE @newRecId integer\r\n");
  for (const FieldDef* field : k.fields) {
    out.Format("  DECLARE %s %s\r\n", VariableName("@old", k.td, *field).c_str(), SqlFieldTypeName(*field, true));
  }
  out.Put("\r\n  /* alte Daten ermitteln */\r\n");
  out.Format("  DECLARE curTmp CURSOR FOR SELECT%s FROM [dbo].[%s] WHERE RecId=@oldRecId\r\n",
             ColumnList(k.fields, "").c_str(), k.names.table.c_str());
  out.Put("  OPEN    curTmp\r\n");
  out.Format("  FETCH NEXT FROM curTmp INTO%s\r\n", OldValueList(k).c_str());
  out.Put(
      "  IF (@@FETCH_STATUS <> 0)\r\n  BEGIN\r\n    CLOSE      curTmp\r\n    DEALLOCATE curTmp\r\n"
      "    SET @newRecId = 0\r\n    SELECT @newRecId AS RecId\r\n    RETURN\r\n  END\r\n"
      "  CLOSE      curTmp\r\n  DEALLOCATE curTmp\r\n");
}

// One query of the cascade: the columns before position compare equal, the
// column at position (the record id past the last field) compares further.
void WriteFollowStep(ScriptWriter& out, const DirectKey& k, std::size_t position, char comparison,
                     const std::string& order) {
  out.Format("  SET @newRecId = (SELECT TOP 1 RecId FROM [dbo].[%s]\r\n", k.names.table.c_str());
  for (std::size_t j = 0; j <= position; ++j) {
    const bool field = j < k.fields.size();
    const std::string column = field ? Bracketed(*k.fields[j]) : "RecId";
    const std::string old_value = field ? VariableName("@old", k.td, *k.fields[j]) : "@oldRecId";
    out.Put(j == 0 ? "                   WHERE " : " AND ");
    out.Format("%s %c %s", column.c_str(), j < position ? '=' : comparison, old_value.c_str());
  }
  out.Format("\r\n                   %s\r\n                  )\r\n", order.c_str());
  out.Put("  IF (NOT (@newRecId IS NULL))\r\n  BEGIN\r\n    SELECT @newRecId AS RecId\r\n    RETURN\r\n  END\r\n");
}

// Next ("naechsten", '>') and Prior ("vorherigen", '<').
void WriteStepProcedure(ScriptWriter& out, const DirectKey& k, const char* word, const char* name, char comparison,
                        bool descending) {
  const std::string order = OrderClause(k.fields, descending);
  WriteSeparator(out);
  out.Format("/* %s Datensatz in Folge %s ermitteln */\r\n", word, InComment(order).c_str());
  out.Format("CREATE PROCEDURE [dbo].[up_%s_%s_%s] @oldRecId integer AS\r\n", name, k.names.base.c_str(), k.key);
  WriteOldValues(out, k);
  out.Put("\r\n  /* Folgesaetze aufsuchen */\r\n");
  for (std::size_t step = 0; step <= k.fields.size(); ++step) {
    WriteFollowStep(out, k, k.fields.size() - step, comparison, order);
  }
  out.Put("\r\n  /* keine weiteren Datensaetze */\r\n  SET @newRecId = 0\r\n  SELECT @newRecId AS RecId\r\nGO\r\n");
}

// Fields before count, each against its own piece of @xKey.
void WriteWholeFields(ScriptWriter& out, const KeyFieldList& fields, std::size_t count) {
  int offset = 0;
  for (std::size_t j = 0; j < count; ++j) {
    out.Put(j == 0 ? "      WHERE " : " AND ");
    out.Format("%s = SUBSTRING(@xKey,%d,%d)", Bracketed(*fields[j]).c_str(), offset + 1,
               static_cast<int>(fields[j]->Len));
    offset += fields[j]->Len;
  }
}

void WriteBlockStart(ScriptWriter& out, const DirectKey& k, char test, int length) {
  out.Format("\r\n  IF @xLen %c %d\r\n  BEGIN\r\n    SELECT TOP 1 RecId FROM [dbo].[%s]\r\n", test, length,
             k.names.table.c_str());
}

void WriteBlockEnd(ScriptWriter& out, const std::string& order) {
  out.Format("\r\n      %s\r\n    RETURN\r\n  END\r\n", order.c_str());
}

// A prefix that ends inside field i: the fields before it whole, field i over
// what is left of the prefix.
void WritePartialBlock(ScriptWriter& out, const DirectKey& k, std::size_t i, int offset, const std::string& order) {
  const FieldDef& field = *k.fields[i];
  WriteBlockStart(out, k, '<', offset + field.Len);
  WriteWholeFields(out, k.fields, i);
  const std::string rest = offset == 0 ? std::string("@xLen") : "@xLen-" + std::to_string(offset);
  out.Put(i == 0 ? "      WHERE " : " AND ");
  out.Format("SUBSTRING(%s,1,%s) = SUBSTRING(@xKey,%d,%s)", Bracketed(field).c_str(), rest.c_str(), offset + 1,
             rest.c_str());
  WriteBlockEnd(out, order);
}

// FindF ("ersten") and FindL ("letzten"). The blocks go by increasing prefix
// length, so the first whose test holds decides; only a prefix longer than
// the key falls through to the answer 0.
void WriteFindProcedure(ScriptWriter& out, const DirectKey& k, const char* word, const char* name, bool descending) {
  const std::string order = OrderClause(k.fields, descending);
  WriteSeparator(out);
  out.Format("/* %s Datensatz in Folge %s suchen */\r\n", word, InComment(order).c_str());
  out.Format("CREATE PROCEDURE [dbo].[up_%s_%s_%s] @xKey char(128),@xLen integer AS\r\n", name, k.names.base.c_str(),
             k.key);
  int offset = 0;
  for (std::size_t i = 0; i < k.fields.size(); ++i) {
    const int end = offset + k.fields[i]->Len;
    // A one-character field cannot end a prefix inside itself.
    if (k.fields[i]->Len > 1) WritePartialBlock(out, k, i, offset, order);
    WriteBlockStart(out, k, '=', end);
    WriteWholeFields(out, k.fields, i + 1);
    WriteBlockEnd(out, order);
    offset = end;
  }
  out.Put("\r\n  SELECT CONVERT(integer,0) AS RecId\r\nGO\r\n");
}

}  // namespace

void WriteDirectKeyProcedures(ScriptWriter& out, const TableDef* td, int32_t key) {
  const SqlNames names(td);
  const KeyFieldList fields = KeyFields(td, key);
  const std::string key_name = KeyName(td, key);
  const DirectKey k{td, names, key_name.c_str(), fields};
  WriteEndProcedure(out, k, "ersten", "First", false);
  WriteEndProcedure(out, k, "letzten", "Last", true);
  WriteStepProcedure(out, k, "naechsten", "Next", '>', false);
  WriteStepProcedure(out, k, "vorherigen", "Prior", '<', true);
  WriteFindProcedure(out, k, "ersten", "FindF", false);
  WriteFindProcedure(out, k, "letzten", "FindL", true);
}

}  // namespace lerv32
