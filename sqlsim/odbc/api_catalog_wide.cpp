// Entry points: the catalog functions for applications that speak UTF-16.
// Their names reach the 8-bit functions in the server's code page; left to
// the driver manager, they would be converted by its own locale, and a name
// with a letter beyond ASCII would not be found.
#include "sqlsim/odbc/entry.h"

#include "sqlsim/odbc/wide_text.h"

using namespace sqlsim::odbc;

SQLSIM_ODBC_API SQLRETURN SQL_API SQLTablesW(SQLHSTMT handle, SQLWCHAR* catalog, SQLSMALLINT catalog_length,
                                             SQLWCHAR* schema, SQLSMALLINT schema_length, SQLWCHAR* table,
                                             SQLSMALLINT table_length, SQLWCHAR* types, SQLSMALLINT types_length) {
  return Guarded<Stmt>(handle, "SQLTablesW", [&](Stmt&) -> SQLRETURN {
    NarrowText c(catalog, catalog_length), s(schema, schema_length), t(table, table_length),
        y(types, types_length);
    return SQLTables(handle, c.text(), c.length(), s.text(), s.length(), t.text(), t.length(), y.text(),
                     y.length());
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLColumnsW(SQLHSTMT handle, SQLWCHAR* catalog, SQLSMALLINT catalog_length,
                                              SQLWCHAR* schema, SQLSMALLINT schema_length, SQLWCHAR* table,
                                              SQLSMALLINT table_length, SQLWCHAR* column, SQLSMALLINT column_length) {
  return Guarded<Stmt>(handle, "SQLColumnsW", [&](Stmt&) -> SQLRETURN {
    NarrowText c(catalog, catalog_length), s(schema, schema_length), t(table, table_length),
        n(column, column_length);
    return SQLColumns(handle, c.text(), c.length(), s.text(), s.length(), t.text(), t.length(), n.text(),
                      n.length());
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLPrimaryKeysW(SQLHSTMT handle, SQLWCHAR* catalog, SQLSMALLINT catalog_length,
                                                  SQLWCHAR* schema, SQLSMALLINT schema_length, SQLWCHAR* table,
                                                  SQLSMALLINT table_length) {
  return Guarded<Stmt>(handle, "SQLPrimaryKeysW", [&](Stmt&) -> SQLRETURN {
    NarrowText c(catalog, catalog_length), s(schema, schema_length), t(table, table_length);
    return SQLPrimaryKeys(handle, c.text(), c.length(), s.text(), s.length(), t.text(), t.length());
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLForeignKeysW(SQLHSTMT handle, SQLWCHAR* pk_catalog,
                                                  SQLSMALLINT pk_catalog_length, SQLWCHAR* pk_schema,
                                                  SQLSMALLINT pk_schema_length, SQLWCHAR* pk_table,
                                                  SQLSMALLINT pk_table_length, SQLWCHAR* fk_catalog,
                                                  SQLSMALLINT fk_catalog_length, SQLWCHAR* fk_schema,
                                                  SQLSMALLINT fk_schema_length, SQLWCHAR* fk_table,
                                                  SQLSMALLINT fk_table_length) {
  return Guarded<Stmt>(handle, "SQLForeignKeysW", [&](Stmt&) -> SQLRETURN {
    NarrowText pc(pk_catalog, pk_catalog_length), ps(pk_schema, pk_schema_length), pt(pk_table, pk_table_length),
        fc(fk_catalog, fk_catalog_length), fs(fk_schema, fk_schema_length), ft(fk_table, fk_table_length);
    return SQLForeignKeys(handle, pc.text(), pc.length(), ps.text(), ps.length(), pt.text(), pt.length(), fc.text(),
                          fc.length(), fs.text(), fs.length(), ft.text(), ft.length());
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLStatisticsW(SQLHSTMT handle, SQLWCHAR* catalog, SQLSMALLINT catalog_length,
                                                 SQLWCHAR* schema, SQLSMALLINT schema_length, SQLWCHAR* table,
                                                 SQLSMALLINT table_length, SQLUSMALLINT unique, SQLUSMALLINT reserved) {
  return Guarded<Stmt>(handle, "SQLStatisticsW", [&](Stmt&) -> SQLRETURN {
    NarrowText c(catalog, catalog_length), s(schema, schema_length), t(table, table_length);
    return SQLStatistics(handle, c.text(), c.length(), s.text(), s.length(), t.text(), t.length(), unique, reserved);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLSpecialColumnsW(SQLHSTMT handle, SQLUSMALLINT identifier_type,
                                                     SQLWCHAR* catalog, SQLSMALLINT catalog_length, SQLWCHAR* schema,
                                                     SQLSMALLINT schema_length, SQLWCHAR* table,
                                                     SQLSMALLINT table_length, SQLUSMALLINT scope,
                                                     SQLUSMALLINT nullable) {
  return Guarded<Stmt>(handle, "SQLSpecialColumnsW", [&](Stmt&) -> SQLRETURN {
    NarrowText c(catalog, catalog_length), s(schema, schema_length), t(table, table_length);
    return SQLSpecialColumns(handle, identifier_type, c.text(), c.length(), s.text(), s.length(), t.text(),
                             t.length(), scope, nullable);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLProceduresW(SQLHSTMT handle, SQLWCHAR* catalog, SQLSMALLINT catalog_length,
                                                 SQLWCHAR* schema, SQLSMALLINT schema_length, SQLWCHAR* procedure,
                                                 SQLSMALLINT procedure_length) {
  return Guarded<Stmt>(handle, "SQLProceduresW", [&](Stmt&) -> SQLRETURN {
    NarrowText c(catalog, catalog_length), s(schema, schema_length), p(procedure, procedure_length);
    return SQLProcedures(handle, c.text(), c.length(), s.text(), s.length(), p.text(), p.length());
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLProcedureColumnsW(SQLHSTMT handle, SQLWCHAR* catalog,
                                                       SQLSMALLINT catalog_length, SQLWCHAR* schema,
                                                       SQLSMALLINT schema_length, SQLWCHAR* procedure,
                                                       SQLSMALLINT procedure_length, SQLWCHAR* column,
                                                       SQLSMALLINT column_length) {
  return Guarded<Stmt>(handle, "SQLProcedureColumnsW", [&](Stmt&) -> SQLRETURN {
    NarrowText c(catalog, catalog_length), s(schema, schema_length), p(procedure, procedure_length),
        n(column, column_length);
    return SQLProcedureColumns(handle, c.text(), c.length(), s.text(), s.length(), p.text(), p.length(), n.text(),
                               n.length());
  });
}
