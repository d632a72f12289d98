// The catalog functions (SQLTables, SQLColumns ...): their arguments
// checked as ODBC says, the rows from the engine's catalog queries opened
// as the statement's result set.
#pragma once

#include <optional>
#include <string_view>

#include "sqlsim/engine/catalog_queries.h"
#include "sqlsim/odbc/handles.h"

namespace sqlsim::odbc {

// A name argument as the application passed it.
struct NameInput {
  const SQLCHAR* text = nullptr;
  SQLSMALLINT length = SQL_NTS;
};

// How ODBC takes an argument: a search pattern or a plain name (both are
// identifiers when SQL_ATTR_METADATA_ID is on). required: a null pointer
// is HY009 (always, or with METADATA_ID only).
enum class ArgumentKind { kPattern, kOrdinary };
enum class NullRule { kAllowed, kRequired, kRequiredForIdentifiers };

// Reads one argument into *out; false with HY009 or HY090 on the statement.
bool ReadName(Stmt& stmt, const NameInput& input, ArgumentKind kind, NullRule rule, NameArgument* out);

// The request's shape from the application's ODBC version. False with
// 24000 when a cursor is open.
bool StartCatalogCall(Stmt& stmt, CatalogRequest* request);

// Runs the request and opens its rows on the statement.
SQLRETURN OpenCatalogResult(Stmt& stmt, const CatalogRequest& request);

}  // namespace sqlsim::odbc
