// The script and structure-file generators, each writing through a
// ScriptWriter so that the exported functions and their bounded variants
// share one implementation.
#ifndef LERV32_SCHEMA_GENERATORS_H
#define LERV32_SCHEMA_GENERATORS_H

#include <string>
#include <string_view>

#include "include/lerv32.h"
#include "schema/script_writer.h"

namespace lerv32 {

// Table, upgrade blocks and view (and, with key tables, the key table and its
// triggers); the standard form is a bare CREATE TABLE and its RecId index.
void WriteTableScript(ScriptWriter& out, const TableDef* td, bool transact_sql);
// The index or indexes of key; in the Transact-SQL form followed by the key's
// navigation procedures.
void WriteIndexScript(ScriptWriter& out, const TableDef* td, int32_t key, bool transact_sql);
// Drop statements, each guarded, for every object the other Transact-SQL
// scripts make.
void WriteDropScript(ScriptWriter& out, const TableDef* td);
// The record-id function and the per-table procedures, and their drops.
void WriteTableProcedures(ScriptWriter& out, const TableDef* td);
void WriteTableProcedureDrops(ScriptWriter& out, const TableDef* td);
// The key table, its two triggers and the statement that fills it.
void WriteKeyTableScript(ScriptWriter& out, const TableDef* td);
// Drop guards and navigation procedures of key: over the key table when the
// table uses key tables, else directly over the data table.
void WriteKeyProcedures(ScriptWriter& out, const TableDef* td, int32_t key);
void WriteKeyProcedureDrops(ScriptWriter& out, const TableDef* td, int32_t key);
// Whether a structure file can carry a field name bare: no character of
// LERV32_STRUCT_NAME_STOPS, no digit first.
bool StructureCanCarry(std::string_view name);

// Stops a script when a navigation procedure the table would get already
// belongs to another table: the table script starts with it, so that
// nothing of the table is made.
void WriteForeignKeyProcedureChecks(ScriptWriter& out, const TableDef* td);
// A key filter as an SQL value 1 or 0: "CASE WHEN ... THEN 1 ELSE 0 END\r\n".
std::string FilterToSql(const char* filter);
// Structure files of the ISAM engine: the table, and the trigger companion.
void WriteCodebaseStruct(ScriptWriter& out, const TableDef* td);
void WriteTriggerStruct(ScriptWriter& out, const TableDef* td);
// The C++ record class header.
void WriteCppTableDef(ScriptWriter& out, const TableDef* td);

}  // namespace lerv32

#endif  // LERV32_SCHEMA_GENERATORS_H
