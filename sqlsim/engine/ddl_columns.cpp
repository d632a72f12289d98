// Column definitions: their types as the server checks them, their SQLite
// declarations and their syscolumns rows.
#include <string>

#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/types.h"
#include "sqlsim/functions/function_error.h"

namespace sqlsim::ddl {
namespace {

constexpr int32_t kMaxLength = 8000;
constexpr int32_t kMaxDecimalPrecision = 38;
constexpr int32_t kMaxFloatPrecision = 53;

bool HasLength(SqlType type) {
  return type == SqlType::kChar || type == SqlType::kVarchar ||
         type == SqlType::kBinary || type == SqlType::kVarbinary;
}

std::string ColumnNumber(int number) {
  return "Column, parameter, or variable #" + std::to_string(number) + ": ";
}

// Length of char/varchar/binary/varbinary: 1 unless written, 0 for (max).
bool ResolveLength(const ast::ColumnDef& def, SqlType type, ColumnSpec* out,
                   Diagnostics* diags) {
  int32_t length = def.type.length;
  if (length == ast::TypeName::kMax) {
    if (type == SqlType::kChar || type == SqlType::kBinary) {
      return Fail(diags, 131, "The size (max) given to the type '" + def.type.name +
                                  "' exceeds the maximum allowed for any data type (8000).",
                  def.pos.line);
    }
    out->length = 0;
    return true;
  }
  if (length > kMaxLength) {
    return Fail(diags, 131, "The size (" + std::to_string(length) + ") given to the column '" +
                                def.name + "' exceeds the maximum allowed for any data type (8000).",
                def.pos.line);
  }
  out->length = length == ast::TypeName::kNone ? 1 : length;
  return true;
}

bool ResolveDecimal(const ast::ColumnDef& def, int number, ColumnSpec* out,
                    Diagnostics* diags) {
  bool money = def.type.name == "money";
  int32_t precision = def.type.length == ast::TypeName::kNone ? (money ? 19 : 18)
                                                             : def.type.length;
  int32_t scale = def.type.scale == ast::TypeName::kNone ? (money ? 4 : 0) : def.type.scale;
  if (precision < 1 || precision > kMaxDecimalPrecision) {
    return Fail(diags, 2750, "Column or parameter #" + std::to_string(number) +
                                 ": Specified column precision " + std::to_string(precision) +
                                 " is greater than the maximum precision of 38.",
                def.pos.line);
  }
  if (scale > precision) {
    return Fail(diags, 2751, "Column or parameter #" + std::to_string(number) +
                                 ": Specified column scale " + std::to_string(scale) +
                                 " is greater than the specified precision of " +
                                 std::to_string(precision) + ".",
                def.pos.line);
  }
  out->precision = precision;
  out->scale = scale;
  out->length = CatalogLength(SqlType::kDecimal, precision);
  return true;
}

// float(1..24) is real, float(25..53) float.
bool ResolveFloat(const ast::ColumnDef& def, int number, ColumnSpec* out,
                  Diagnostics* diags) {
  int32_t bits = def.type.length;
  if (bits > kMaxFloatPrecision) {
    return Fail(diags, 2750, "Column or parameter #" + std::to_string(number) +
                                 ": Specified column precision " + std::to_string(bits) +
                                 " is greater than the maximum precision of 53.",
                def.pos.line);
  }
  if (bits >= 1 && bits <= 24) out->type = SqlType::kReal;
  out->length = CatalogLength(out->type, 0);
  out->precision = CatalogPrecision(out->type, 0);
  return true;
}

bool CanBeIdentity(const ColumnSpec& column) {
  return (IsIntegerType(column.type) && column.type != SqlType::kBit) ||
         (column.type == SqlType::kDecimal && column.scale == 0);
}

bool ResolveIdentity(const ast::ColumnDef& def, std::string_view table, ColumnSpec* out,
                     Diagnostics* diags) {
  if (!CanBeIdentity(*out)) {
    return Fail(diags, 2749, "Identity column '" + def.name +
                                 "' must be of data type int, bigint, smallint, tinyint, or "
                                 "decimal or numeric with a scale of 0, and constrained to be "
                                 "nonnullable.",
                def.pos.line);
  }
  if (def.null_written) {
    return Fail(diags, 8147, "Could not create IDENTITY attribute on nullable column '" +
                                 def.name + "', table '" + std::string(table) + "'.",
                def.pos.line);
  }
  if (def.identity_increment == 0) {
    return Fail(diags, 2749, "Identity column '" + def.name + "' must have a nonzero increment.",
                def.pos.line);
  }
  out->identity = true;
  out->identity_seed = def.identity_seed;
  out->identity_increment = def.identity_increment;
  out->nullable = false;
  return true;
}

}  // namespace

int32_t CatalogPrecision(SqlType type, int32_t declared_length) {
  switch (type) {
    case SqlType::kChar: case SqlType::kVarchar: case SqlType::kBinary:
    case SqlType::kVarbinary:
      return declared_length > 0 ? declared_length : 0;
    case SqlType::kInt: return 10;
    case SqlType::kSmallint: return 5;
    case SqlType::kTinyint: return 3;
    case SqlType::kBigint: return 19;
    case SqlType::kBit: return 1;
    case SqlType::kFloat: return 53;
    case SqlType::kReal: return 24;
    case SqlType::kDecimal: return declared_length > 0 ? declared_length : 18;
    case SqlType::kDatetime: return 23;
    default: return 0;
  }
}

int32_t DeclaredLength(const CatalogColumn& column) {
  if (!HasLength(column.type)) return ast::TypeName::kNone;
  return column.length == 0 ? ast::TypeName::kMax : column.length;
}

int32_t StoreLength(const CatalogColumn& column) {
  if (column.type == SqlType::kDecimal) return column.scale;  // decimals are rounded to their scale
  return DeclaredLength(column) > 0 ? DeclaredLength(column) : 0;
}

namespace {

// SQLite numbers a row id up to the bigint limit; the server stops a
// narrower IDENTITY column at its type's limit with 8115. A named CHECK
// carries the error, so that the statement fails as a whole.
std::string IdentityRangeCheck(const ColumnSpec& column) {
  std::string range;
  switch (column.type) {
    case SqlType::kTinyint: range = "0 AND 255"; break;
    case SqlType::kSmallint: range = "-32768 AND 32767"; break;
    case SqlType::kInt: range = "-2147483648 AND 2147483647"; break;
    case SqlType::kDecimal: {
      if (column.precision <= 0 || column.precision > 18) return "";  // beyond: bigint's limit
      std::string nines(static_cast<size_t>(column.precision), '9');
      range = "-" + nines + " AND " + nines;
      break;
    }
    default: return "";
  }
  std::string error = EncodeFunctionError(8115, "Arithmetic overflow error converting IDENTITY to data type " +
                                                    std::string(CanonicalTypeName(column.type)) + ".");
  return " CONSTRAINT " + QuoteId(error) + " CHECK (" + QuoteId(column.name) + " BETWEEN " + range + ")";
}

}  // namespace

std::string ColumnDeclaration(const ColumnSpec& column) {
  // A numeric(p,0) IDENTITY is the row id too, which SQLite wants INTEGER.
  bool row_id_identity = column.inline_key && column.identity;
  std::string sql = QuoteId(column.name) + " " + (row_id_identity ? "INTEGER" : SqliteColumnType(column.type));
  if (column.inline_key) sql += column.identity ? " PRIMARY KEY AUTOINCREMENT" : " PRIMARY KEY";
  if (column.inline_key && column.identity) sql += IdentityRangeCheck(column);
  if (!column.nullable) sql += " NOT NULL";
  if (!column.default_sql.empty()) sql += " DEFAULT " + column.default_sql;
  return sql;
}

bool ResolveColumn(const ast::ColumnDef& def, int number, std::string_view table,
                   ColumnSpec* out, Diagnostics* diags) {
  out->name = def.name;
  out->type = SqlTypeOf(def.type);
  if (out->type == SqlType::kUnknown) {
    return Fail(diags, 2715, ColumnNumber(number) + "Cannot find data type " + def.type.name + ".",
                def.pos.line);
  }
  out->nullable = !def.not_null;
  out->scale = 0;
  if (HasLength(out->type)) {
    if (!ResolveLength(def, out->type, out, diags)) return false;
    out->precision = CatalogPrecision(out->type, out->length);
  } else if (out->type == SqlType::kDecimal) {
    if (!ResolveDecimal(def, number, out, diags)) return false;
  } else if (out->type == SqlType::kFloat) {
    if (!ResolveFloat(def, number, out, diags)) return false;
  } else if (def.type.length != ast::TypeName::kNone) {
    return Fail(diags, 2716, ColumnNumber(number) + "Cannot specify a column width on data type " +
                                 def.type.name + ".",
                def.pos.line);
  } else {
    out->length = CatalogLength(out->type, ast::TypeName::kNone);
    out->precision = CatalogPrecision(out->type, 0);
    if (out->type == SqlType::kDatetime) out->scale = 3;
  }
  if (def.identity) return ResolveIdentity(def, table, out, diags);
  return true;
}

bool InsertObjectRow(sqlite3* db, int32_t id, std::string_view name, std::string_view xtype,
                     int32_t parent, Diagnostics* diags) {
  Query insert(db, "INSERT INTO sysobjects (id, name, xtype, type, parent_obj) "
                   "VALUES (?1, ?2, ?3, ?3, ?4)");
  insert.Bind(1, id).Bind(2, name).Bind(3, xtype).Bind(4, parent);
  return insert.Run(diags);
}

bool InsertReturnRow(sqlite3* db, int32_t function_id, const ColumnSpec& type, Diagnostics* diags) {
  Query insert(db, "INSERT INTO sqlsim_returns (id, xtype, length, prec, scale) VALUES (?1, ?2, ?3, ?4, ?5)");
  int32_t length = HasLength(type.type) && type.length == 0 ? -1 : type.length;
  insert.Bind(1, function_id).Bind(2, CatalogXtype(type.type)).Bind(3, length);
  return insert.Bind(4, type.precision).Bind(5, type.scale).Run(diags);
}

bool InsertColumnRow(sqlite3* db, int32_t table_id, const ColumnSpec& column,
                     Diagnostics* diags) {
  if (column.default_id != 0 && !column.default_name.empty() &&
      !InsertObjectRow(db, column.default_id, column.default_name, "D", table_id, diags)) {
    return false;
  }
  if (column.default_id != 0 && !column.default_name.empty() && !column.default_text.empty()) {
    Query text(db, "INSERT INTO syscomments (id, colid, text) VALUES (?1, 1, ?2)");
    if (!text.Bind(1, column.default_id).Bind(2, column.default_text).Run(diags)) return false;
  }
  Query insert(db, "INSERT INTO syscolumns (id, name, xtype, length, colid, isnullable, prec, "
                   "scale, status, cdefault, ident_seed, ident_incr) "
                   "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
  int32_t length = HasLength(column.type) && column.length == 0 ? -1 : column.length;
  int32_t status = (column.nullable ? kColumnNullable : 0) |
                   (column.identity ? kColumnIdentity : 0) |
                   (column.output_parameter ? kColumnOutputParameter : 0);
  insert.Bind(1, table_id).Bind(2, column.name).Bind(3, CatalogXtype(column.type));
  insert.Bind(4, length).Bind(5, column.colid).Bind(6, column.nullable ? 1 : 0);
  insert.Bind(7, column.precision).Bind(8, column.scale).Bind(9, status);
  insert.Bind(10, column.default_id);
  if (column.identity) {
    insert.Bind(11, column.identity_seed).Bind(12, column.identity_increment);
  } else {
    insert.BindNull(11).BindNull(12);
  }
  return insert.Run(diags);
}

std::string GeneratedDefaultName(std::string_view table, std::string_view column, int32_t id) {
  return "DF__" + std::string(table.substr(0, 9)) + "__" + std::string(column.substr(0, 5)) +
         "__" + HexId(id);
}

bool LoadColumnSpecs(sqlite3* db, const CatalogTable& table, std::vector<ColumnSpec>* out,
                     Diagnostics* diags) {
  out->clear();
  for (const CatalogColumn& column : table.columns) {
    ColumnSpec spec;
    static_cast<CatalogColumn&>(spec) = column;
    out->push_back(std::move(spec));
  }
  Query info(db, "SELECT name, dflt_value, pk FROM pragma_table_info(?1)");
  info.Bind(1, table.name);
  while (info.Next()) {
    std::string name = info.Text(0);
    for (ColumnSpec& spec : *out) {
      if (!SameName(spec.name, name)) continue;
      if (!info.IsNull(1)) spec.default_sql = info.Text(1);
      spec.inline_key = info.Int(2) != 0;
    }
  }
  return info.Ok(diags);
}

// A default's object: its name as written or generated, unique in the database.
bool NameDefault(Catalog& catalog, const ast::ColumnDef& def, std::string_view table,
                 ColumnSpec* spec, Diagnostics* diags) {
  if (spec->default_sql.empty()) return true;
  spec->default_id = catalog.NextObjectId();
  if (spec->default_id == 0) return Fail(diags, 50000, "No object id could be allocated.");
  spec->default_name = def.default_name.empty()
                           ? GeneratedDefaultName(table, def.name, spec->default_id)
                           : def.default_name;
  if (catalog.FindObject(spec->default_name)) {
    Fail(diags, 2714, "There is already an object named '" + spec->default_name +
                          "' in the database.", def.pos.line);
    return Fail(diags, 1750, "Could not create constraint. See previous errors.");
  }
  return true;
}

std::vector<RebuildColumn> KeepColumns(const std::vector<ColumnSpec>& specs) {
  std::vector<RebuildColumn> columns;
  for (const ColumnSpec& spec : specs) columns.push_back({spec, QuoteId(spec.name)});
  return columns;
}

}  // namespace sqlsim::ddl
