// The catalog procedures: their arguments made into a catalog request,
// the rows taken from catalog_queries as the ODBC functions take them.
#include "sqlsim/engine/system_procedures.h"

#include "sqlsim/engine/catalog_queries.h"
#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/session.h"

namespace sqlsim {
namespace {

constexpr VariableType kSysname{SqlType::kVarchar, 384};
constexpr VariableType kTypeList{SqlType::kVarchar, 100};
constexpr VariableType kInt{SqlType::kInt, 0};
constexpr VariableType kFlag{SqlType::kChar, 1};

bool Given(const SystemArguments& args, size_t i) { return i < args.size() && args[i] && !args[i]->IsNull(); }

std::string TextOf(const SystemArguments& args, size_t i) {
  if (!Given(args, i)) return {};
  const Value& v = *args[i];
  return v.kind == Value::Kind::kInteger ? std::to_string(v.integer) : v.bytes;
}

int64_t IntOf(const SystemArguments& args, size_t i, int64_t fallback) {
  return Given(args, i) && args[i]->kind == Value::Kind::kInteger ? args[i]->integer : fallback;
}

// A name argument: absent when not given, a pattern when patterns apply.
NameArgument NameOf(const SystemArguments& args, size_t i, bool pattern) {
  if (!Given(args, i)) return NameArgument::Any();
  std::string text = TextOf(args, i);
  return pattern ? NameArgument::Pattern(text) : NameArgument::Exact(text);
}

CatalogRequest Request(CatalogFunction function, int64_t odbc_version) {
  CatalogRequest r;
  r.function = function;
  r.shape = CatalogShape::kProcedure;
  r.odbc3_types = odbc_version >= 3;
  return r;
}

bool Send(SessionImpl& session, const CatalogRequest& r, std::vector<Result>* results, Diagnostics* diags) {
  // The procedures reach the current database only; sp_tables just finds
  // nothing in another one.
  if (r.function != CatalogFunction::kTables && !r.catalog.Matches(session.CurrentDatabase())) {
    diags->push_back(ServerError(15250, "The database name component of the object qualifier must be the name of "
                                        "the current database."));
    return false;
  }
  Result result;
  result.rows = session.QueryCatalog(r, diags);
  if (!result.rows) return false;
  results->push_back(std::move(result));
  return true;
}

bool SpTables(SessionImpl& s, const SystemArguments& a, std::vector<Result>* out, Diagnostics* d) {
  bool pattern = IntOf(a, 4, 1) != 0;
  CatalogRequest r = Request(CatalogFunction::kTables, 2);
  r.object = NameOf(a, 0, pattern);
  r.schema = NameOf(a, 1, pattern);
  r.catalog = NameOf(a, 2, false);
  r.table_types_given = Given(a, 3);
  r.table_types = TextOf(a, 3);
  return Send(s, r, out, d);
}

bool SpColumns(SessionImpl& s, const SystemArguments& a, std::vector<Result>* out, Diagnostics* d) {
  CatalogRequest r = Request(CatalogFunction::kColumns, IntOf(a, 4, 2));
  r.object = NameOf(a, 0, true);
  r.schema = NameOf(a, 1, true);
  r.catalog = NameOf(a, 2, false);
  r.column = NameOf(a, 3, true);
  return Send(s, r, out, d);
}

bool SpPkeys(SessionImpl& s, const SystemArguments& a, std::vector<Result>* out, Diagnostics* d) {
  CatalogRequest r = Request(CatalogFunction::kPrimaryKeys, 2);
  r.object = NameOf(a, 0, false);
  r.schema = NameOf(a, 1, false);
  r.catalog = NameOf(a, 2, false);
  return Send(s, r, out, d);
}

bool SpFkeys(SessionImpl& s, const SystemArguments& a, std::vector<Result>* out, Diagnostics* d) {
  if (!Given(a, 0) && !Given(a, 3)) {
    d->push_back(ServerError(15252, "Either the primary key table or the foreign key table must be given."));
    return false;
  }
  return Send(s, Request(CatalogFunction::kForeignKeys, 2), out, d);
}

bool SpStatistics(SessionImpl& s, const SystemArguments& a, std::vector<Result>* out, Diagnostics* d) {
  CatalogRequest r = Request(CatalogFunction::kStatistics, 2);
  r.object = NameOf(a, 0, false);
  r.schema = NameOf(a, 1, false);
  r.catalog = NameOf(a, 2, false);
  r.index_name = NameOf(a, 3, true);
  r.unique_only = ddl::SameName(TextOf(a, 4), "Y");
  return Send(s, r, out, d);
}

bool SpSpecialColumns(SessionImpl& s, const SystemArguments& a, std::vector<Result>* out, Diagnostics* d) {
  CatalogRequest r = Request(CatalogFunction::kSpecialColumns, IntOf(a, 6, 2));
  r.object = NameOf(a, 0, false);
  r.schema = NameOf(a, 1, false);
  r.catalog = NameOf(a, 2, false);
  r.row_version = ddl::SameName(TextOf(a, 3), "V");
  r.no_nulls = ddl::SameName(TextOf(a, 5), "O");
  return Send(s, r, out, d);
}

bool SpStoredProcedures(SessionImpl& s, const SystemArguments& a, std::vector<Result>* out, Diagnostics* d) {
  bool pattern = IntOf(a, 3, 1) != 0;
  CatalogRequest r = Request(CatalogFunction::kProcedures, 2);
  r.object = NameOf(a, 0, pattern);
  r.schema = NameOf(a, 1, pattern);
  r.catalog = NameOf(a, 2, false);
  return Send(s, r, out, d);
}

bool SpSprocColumns(SessionImpl& s, const SystemArguments& a, std::vector<Result>* out, Diagnostics* d) {
  bool pattern = IntOf(a, 5, 1) != 0;
  CatalogRequest r = Request(CatalogFunction::kProcedureColumns, IntOf(a, 4, 2));
  r.object = NameOf(a, 0, pattern);
  r.schema = NameOf(a, 1, pattern);
  r.catalog = NameOf(a, 2, false);
  r.column = NameOf(a, 3, pattern);
  return Send(s, r, out, d);
}

const std::vector<SystemProcedure>& Registry() {
  static const std::vector<SystemProcedure> kProcedures = {
      {"sp_tables",
       {{"@table_name", kSysname},
        {"@table_owner", kSysname},
        {"@table_qualifier", kSysname},
        {"@table_type", kTypeList},
        {"@fusepattern", kInt}},
       SpTables},
      {"sp_columns",
       {{"@table_name", kSysname, true},
        {"@table_owner", kSysname},
        {"@table_qualifier", kSysname},
        {"@column_name", kSysname},
        {"@odbcver", kInt}},
       SpColumns},
      {"sp_pkeys",
       {{"@table_name", kSysname, true}, {"@table_owner", kSysname}, {"@table_qualifier", kSysname}},
       SpPkeys},
      {"sp_fkeys",
       {{"@pktable_name", kSysname},
        {"@pktable_owner", kSysname},
        {"@pktable_qualifier", kSysname},
        {"@fktable_name", kSysname},
        {"@fktable_owner", kSysname},
        {"@fktable_qualifier", kSysname}},
       SpFkeys},
      {"sp_statistics",
       {{"@table_name", kSysname, true},
        {"@table_owner", kSysname},
        {"@table_qualifier", kSysname},
        {"@index_name", kSysname},
        {"@is_unique", kFlag},
        {"@accuracy", kFlag}},
       SpStatistics},
      {"sp_special_columns",
       {{"@table_name", kSysname, true},
        {"@table_owner", kSysname},
        {"@qualifier", kSysname},
        {"@col_type", kFlag},
        {"@scope", kFlag},
        {"@nullable", kFlag},
        {"@odbcver", kInt}},
       SpSpecialColumns},
      {"sp_stored_procedures",
       {{"@sp_name", kSysname}, {"@sp_owner", kSysname}, {"@sp_qualifier", kSysname}, {"@fusepattern", kInt}},
       SpStoredProcedures},
      {"sp_sproc_columns",
       {{"@procedure_name", kSysname},
        {"@procedure_owner", kSysname},
        {"@procedure_qualifier", kSysname},
        {"@column_name", kSysname},
        {"@odbcver", kInt},
        {"@fusepattern", kInt}},
       SpSprocColumns},
      {"sp_help", {{"@objname", kSysname}}, RunSpHelp},
  };
  return kProcedures;
}

}  // namespace

const SystemProcedure* FindSystemProcedure(std::string_view name) {
  for (const SystemProcedure& p : Registry()) {
    if (ddl::SameName(p.name, name)) return &p;
  }
  return nullptr;
}

}  // namespace sqlsim
