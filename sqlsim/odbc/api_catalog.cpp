// Entry points: the catalog functions.
#include "sqlsim/odbc/catalog_functions.h"
#include "sqlsim/odbc/entry.h"
#include "sqlsim/odbc/out_string.h"

using namespace sqlsim;
using namespace sqlsim::odbc;

namespace {

constexpr ArgumentKind kPattern = ArgumentKind::kPattern;
constexpr ArgumentKind kOrdinary = ArgumentKind::kOrdinary;
constexpr NullRule kForIdentifiers = NullRule::kRequiredForIdentifiers;

// Catalog, schema and table (or procedure) arguments of most functions.
bool ReadObject(Stmt& s, const NameInput (&names)[3], ArgumentKind catalog_kind, ArgumentKind kind, NullRule table_rule,
                CatalogRequest* r) {
  return ReadName(s, names[0], catalog_kind, kForIdentifiers, &r->catalog) &&
         ReadName(s, names[1], kind, kForIdentifiers, &r->schema) &&
         ReadName(s, names[2], kind, table_rule, &r->object);
}

}  // namespace

SQLSIM_ODBC_API SQLRETURN SQL_API SQLTables(SQLHSTMT handle, SQLCHAR* catalog, SQLSMALLINT catalog_length,
                                            SQLCHAR* schema, SQLSMALLINT schema_length, SQLCHAR* table,
                                            SQLSMALLINT table_length, SQLCHAR* types, SQLSMALLINT types_length) {
  return Guarded<Stmt>(handle, "SQLTables", [&](Stmt& s) -> SQLRETURN {
    CatalogRequest r;
    r.function = CatalogFunction::kTables;
    NameInput names[3] = {{catalog, catalog_length}, {schema, schema_length}, {table, table_length}};
    if (!StartCatalogCall(s, &r) || !ReadObject(s, names, kPattern, kPattern, kForIdentifiers, &r)) return SQL_ERROR;
    if (types) {
      if (types_length < 0 && types_length != SQL_NTS) return s.diags.Error("HY090", "Invalid string or buffer length");
      r.table_types_given = true;
      r.table_types = std::string(InString(types, types_length));
    }
    return OpenCatalogResult(s, r);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLColumns(SQLHSTMT handle, SQLCHAR* catalog, SQLSMALLINT catalog_length,
                                             SQLCHAR* schema, SQLSMALLINT schema_length, SQLCHAR* table,
                                             SQLSMALLINT table_length, SQLCHAR* column, SQLSMALLINT column_length) {
  return Guarded<Stmt>(handle, "SQLColumns", [&](Stmt& s) -> SQLRETURN {
    CatalogRequest r;
    r.function = CatalogFunction::kColumns;
    NameInput names[3] = {{catalog, catalog_length}, {schema, schema_length}, {table, table_length}};
    if (!StartCatalogCall(s, &r) || !ReadObject(s, names, kOrdinary, kPattern, kForIdentifiers, &r) ||
        !ReadName(s, {column, column_length}, kPattern, kForIdentifiers, &r.column)) {
      return SQL_ERROR;
    }
    return OpenCatalogResult(s, r);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLPrimaryKeys(SQLHSTMT handle, SQLCHAR* catalog, SQLSMALLINT catalog_length,
                                                 SQLCHAR* schema, SQLSMALLINT schema_length, SQLCHAR* table,
                                                 SQLSMALLINT table_length) {
  return Guarded<Stmt>(handle, "SQLPrimaryKeys", [&](Stmt& s) -> SQLRETURN {
    CatalogRequest r;
    r.function = CatalogFunction::kPrimaryKeys;
    NameInput names[3] = {{catalog, catalog_length}, {schema, schema_length}, {table, table_length}};
    if (!StartCatalogCall(s, &r) || !ReadObject(s, names, kOrdinary, kOrdinary, NullRule::kRequired, &r)) {
      return SQL_ERROR;
    }
    return OpenCatalogResult(s, r);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLForeignKeys(SQLHSTMT handle, SQLCHAR* pk_catalog, SQLSMALLINT pk_catalog_length,
                                                 SQLCHAR* pk_schema, SQLSMALLINT pk_schema_length, SQLCHAR* pk_table,
                                                 SQLSMALLINT pk_table_length, SQLCHAR* fk_catalog,
                                                 SQLSMALLINT fk_catalog_length, SQLCHAR* fk_schema,
                                                 SQLSMALLINT fk_schema_length, SQLCHAR* fk_table,
                                                 SQLSMALLINT fk_table_length) {
  return Guarded<Stmt>(handle, "SQLForeignKeys", [&](Stmt& s) -> SQLRETURN {
    CatalogRequest r;
    r.function = CatalogFunction::kForeignKeys;
    if (!StartCatalogCall(s, &r)) return SQL_ERROR;
    if (!pk_table && !fk_table) return s.diags.Error("HY009", "Invalid use of null pointer");
    NameInput pk[3] = {{pk_catalog, pk_catalog_length}, {pk_schema, pk_schema_length}, {pk_table, pk_table_length}};
    if (!ReadObject(s, pk, kOrdinary, kOrdinary, kForIdentifiers, &r) ||
        !ReadName(s, {fk_catalog, fk_catalog_length}, kOrdinary, kForIdentifiers, &r.fk_catalog) ||
        !ReadName(s, {fk_schema, fk_schema_length}, kOrdinary, kForIdentifiers, &r.fk_schema) ||
        !ReadName(s, {fk_table, fk_table_length}, kOrdinary, kForIdentifiers, &r.fk_object)) {
      return SQL_ERROR;
    }
    return OpenCatalogResult(s, r);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLStatistics(SQLHSTMT handle, SQLCHAR* catalog, SQLSMALLINT catalog_length,
                                                SQLCHAR* schema, SQLSMALLINT schema_length, SQLCHAR* table,
                                                SQLSMALLINT table_length, SQLUSMALLINT unique, SQLUSMALLINT reserved) {
  return Guarded<Stmt>(handle, "SQLStatistics", [&](Stmt& s) -> SQLRETURN {
    CatalogRequest r;
    r.function = CatalogFunction::kStatistics;
    if (!StartCatalogCall(s, &r)) return SQL_ERROR;
    if (unique != SQL_INDEX_UNIQUE && unique != SQL_INDEX_ALL) {
      return s.diags.Error("HY100", "Uniqueness option type out of range");
    }
    if (reserved != SQL_ENSURE && reserved != SQL_QUICK)
      return s.diags.Error("HY101", "Accuracy option type out of range");
    r.unique_only = unique == SQL_INDEX_UNIQUE;
    NameInput names[3] = {{catalog, catalog_length}, {schema, schema_length}, {table, table_length}};
    if (!ReadObject(s, names, kOrdinary, kOrdinary, NullRule::kRequired, &r)) return SQL_ERROR;
    return OpenCatalogResult(s, r);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLSpecialColumns(SQLHSTMT handle, SQLUSMALLINT identifier_type, SQLCHAR* catalog,
                                                    SQLSMALLINT catalog_length, SQLCHAR* schema,
                                                    SQLSMALLINT schema_length, SQLCHAR* table, SQLSMALLINT table_length,
                                                    SQLUSMALLINT scope, SQLUSMALLINT nullable) {
  return Guarded<Stmt>(handle, "SQLSpecialColumns", [&](Stmt& s) -> SQLRETURN {
    CatalogRequest r;
    r.function = CatalogFunction::kSpecialColumns;
    if (!StartCatalogCall(s, &r)) return SQL_ERROR;
    if (identifier_type != SQL_BEST_ROWID && identifier_type != SQL_ROWVER) {
      return s.diags.Error("HY097", "Column type out of range");
    }
    if (scope != SQL_SCOPE_CURROW && scope != SQL_SCOPE_TRANSACTION && scope != SQL_SCOPE_SESSION) {
      return s.diags.Error("HY098", "Scope type out of range");
    }
    if (nullable != SQL_NO_NULLS && nullable != SQL_NULLABLE)
      return s.diags.Error("HY099", "Nullable type out of range");
    r.row_version = identifier_type == SQL_ROWVER;
    r.no_nulls = nullable == SQL_NO_NULLS;
    NameInput names[3] = {{catalog, catalog_length}, {schema, schema_length}, {table, table_length}};
    if (!ReadObject(s, names, kOrdinary, kOrdinary, NullRule::kRequired, &r)) return SQL_ERROR;
    return OpenCatalogResult(s, r);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLProcedures(SQLHSTMT handle, SQLCHAR* catalog, SQLSMALLINT catalog_length,
                                                SQLCHAR* schema, SQLSMALLINT schema_length, SQLCHAR* procedure,
                                                SQLSMALLINT procedure_length) {
  return Guarded<Stmt>(handle, "SQLProcedures", [&](Stmt& s) -> SQLRETURN {
    CatalogRequest r;
    r.function = CatalogFunction::kProcedures;
    NameInput names[3] = {{catalog, catalog_length}, {schema, schema_length}, {procedure, procedure_length}};
    if (!StartCatalogCall(s, &r) || !ReadObject(s, names, kOrdinary, kPattern, kForIdentifiers, &r)) return SQL_ERROR;
    return OpenCatalogResult(s, r);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLProcedureColumns(SQLHSTMT handle, SQLCHAR* catalog, SQLSMALLINT catalog_length,
                                                      SQLCHAR* schema, SQLSMALLINT schema_length, SQLCHAR* procedure,
                                                      SQLSMALLINT procedure_length, SQLCHAR* column,
                                                      SQLSMALLINT column_length) {
  return Guarded<Stmt>(handle, "SQLProcedureColumns", [&](Stmt& s) -> SQLRETURN {
    CatalogRequest r;
    r.function = CatalogFunction::kProcedureColumns;
    NameInput names[3] = {{catalog, catalog_length}, {schema, schema_length}, {procedure, procedure_length}};
    if (!StartCatalogCall(s, &r) || !ReadObject(s, names, kOrdinary, kPattern, kForIdentifiers, &r) ||
        !ReadName(s, {column, column_length}, kPattern, kForIdentifiers, &r.column)) {
      return SQL_ERROR;
    }
    return OpenCatalogResult(s, r);
  });
}
