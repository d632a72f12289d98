// The exported generators, each in a plain and a bounded form over one
// implementation. A null definition, one that is not valid (ValidTableDef),
// or a key it does not have, gives an empty text.
#include <stdexcept>

#include "schema/generators.h"
#include "schema/key_fields.h"
#include "tabledef/table_def.h"
#include "tabledef/tenant_scope.h"

namespace lerv32 {
namespace {

std::size_t Capacity(int32_t capacity) {
  return capacity > 0 ? static_cast<std::size_t>(capacity) : 0;
}

bool HasKey(const TableDef* td, int32_t key) {
  return key >= 0 && key < td->KeyCnt && key < LERV32_MAX_KEYS;
}

// td and the key are checked before body runs. A definition with a name the
// scripts cannot carry gets -1 and an empty text, so that no caller runs
// part of its objects' scripts.
template <typename Body>
int32_t GenerateFor(const TableDef* td, char* out, std::size_t capacity, bool valid, Body&& body) {
  const TenantScope tenant;
  return Generate(out, capacity, [&](ScriptWriter& writer) {
    if (!ValidTableDef(td) || !valid) return;
    if (!WritableNames(td)) throw std::invalid_argument("a name with control characters");
    body(writer);
  });
}

}  // namespace
}  // namespace lerv32

using lerv32::GenerateFor;
using lerv32::ScriptWriter;

namespace {

int32_t TableDefScript(const TableDef* td, char* out, std::size_t capacity, int32_t transact_sql) {
  return GenerateFor(td, out, capacity, true,
                     [&](ScriptWriter& w) { lerv32::WriteTableScript(w, td, transact_sql != 0); });
}

int32_t IndexScript(const TableDef* td, char* out, std::size_t capacity, int32_t key, int32_t transact_sql) {
  return GenerateFor(td, out, capacity, td != nullptr && lerv32::HasKey(td, key),
                     [&](ScriptWriter& w) { lerv32::WriteIndexScript(w, td, key, transact_sql != 0); });
}

int32_t DropScript(const TableDef* td, char* out, std::size_t capacity) {
  return GenerateFor(td, out, capacity, true, [&](ScriptWriter& w) { lerv32::WriteDropScript(w, td); });
}

int32_t TableProcedures(const TableDef* td, char* out, std::size_t capacity) {
  return GenerateFor(td, out, capacity, true, [&](ScriptWriter& w) { lerv32::WriteTableProcedures(w, td); });
}

int32_t KeyProcedures(const TableDef* td, char* out, std::size_t capacity, int32_t key) {
  return GenerateFor(td, out, capacity, td != nullptr && lerv32::HasKey(td, key),
                     [&](ScriptWriter& w) { lerv32::WriteKeyProcedures(w, td, key); });
}

int32_t CodebaseStruct(const TableDef* td, char* out, std::size_t capacity) {
  return GenerateFor(td, out, capacity, true, [&](ScriptWriter& w) { lerv32::WriteCodebaseStruct(w, td); });
}

int32_t TriggerStruct(const TableDef* td, char* out, std::size_t capacity) {
  return GenerateFor(td, out, capacity, true, [&](ScriptWriter& w) { lerv32::WriteTriggerStruct(w, td); });
}

int32_t CppTableDef(const TableDef* td, char* out, std::size_t capacity) {
  return GenerateFor(td, out, capacity, true, [&](ScriptWriter& w) { lerv32::WriteCppTableDef(w, td); });
}

constexpr std::size_t kUnbounded = ScriptWriter::kUnbounded;

}  // namespace

using lerv32::Capacity;

extern "C" {

int32_t LERV32_CALL rv_GenSqlTableDef(const TableDef* td, char* out, int32_t transactSql) {
  return TableDefScript(td, out, kUnbounded, transactSql);
}
int32_t LERV32_CALL rv_GenSqlTableDefN(const TableDef* td, char* out, int32_t capacity, int32_t transactSql) {
  return TableDefScript(td, out, Capacity(capacity), transactSql);
}

int32_t LERV32_CALL rv_GenSqlIndexDef(const TableDef* td, char* out, int32_t key, int32_t transactSql) {
  return IndexScript(td, out, kUnbounded, key, transactSql);
}
int32_t LERV32_CALL rv_GenSqlIndexDefN(const TableDef* td, char* out, int32_t capacity, int32_t key,
                                       int32_t transactSql) {
  return IndexScript(td, out, Capacity(capacity), key, transactSql);
}

int32_t LERV32_CALL rv_GenSqlDropDef(const TableDef* td, char* out) { return DropScript(td, out, kUnbounded); }
int32_t LERV32_CALL rv_GenSqlDropDefN(const TableDef* td, char* out, int32_t capacity) {
  return DropScript(td, out, Capacity(capacity));
}

int32_t LERV32_CALL rv_GenSqlTableBasicProc(const TableDef* td, char* out, int32_t /*unused*/) {
  return TableProcedures(td, out, kUnbounded);
}
int32_t LERV32_CALL rv_GenSqlTableBasicProcN(const TableDef* td, char* out, int32_t capacity, int32_t /*unused*/) {
  return TableProcedures(td, out, Capacity(capacity));
}

int32_t LERV32_CALL rv_GenSqlTableIndexProc(const TableDef* td, char* out, int32_t key, int32_t /*unused*/) {
  return KeyProcedures(td, out, kUnbounded, key);
}
int32_t LERV32_CALL rv_GenSqlTableIndexProcN(const TableDef* td, char* out, int32_t capacity, int32_t key,
                                             int32_t /*unused*/) {
  return KeyProcedures(td, out, Capacity(capacity), key);
}

int32_t LERV32_CALL rv_GenCodebaseStruct(const TableDef* td, char* out) {
  return CodebaseStruct(td, out, kUnbounded);
}
int32_t LERV32_CALL rv_GenCodebaseStructN(const TableDef* td, char* out, int32_t capacity) {
  return CodebaseStruct(td, out, Capacity(capacity));
}

int32_t LERV32_CALL rv_GenSqlTriggerStruct(const TableDef* td, char* out) {
  return TriggerStruct(td, out, kUnbounded);
}
int32_t LERV32_CALL rv_GenSqlTriggerStructN(const TableDef* td, char* out, int32_t capacity) {
  return TriggerStruct(td, out, Capacity(capacity));
}

void LERV32_CALL rv_GenCppTableDef(const TableDef* td, char* out) { CppTableDef(td, out, kUnbounded); }
int32_t LERV32_CALL rv_GenCppTableDefN(const TableDef* td, char* out, int32_t capacity) {
  return CppTableDef(td, out, Capacity(capacity));
}

}  // extern "C"
