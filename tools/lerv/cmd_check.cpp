// lerv check: the live database against what the definition files would
// create now: missing objects, columns missing, extra or of another type or
// width, procedure, function, view and trigger texts that differ from the
// generator's.
#include <algorithm>
#include <cctype>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "tools/lerv/cli_german.h"
#include "tools/lerv/commands.h"
#include "tools/lerv/database.h"
#include "tools/lerv/definition.h"
#include "tools/lerv/expected_objects.h"
#include "tools/lerv/failure.h"
#include "tools/lerv/generate.h"
#include "tools/lerv/query.h"

namespace lerv {
namespace {

struct CheckOptions {
  DatabaseOptions database;
  std::vector<std::string> definitions;
  bool standard_sql = false;
};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// A column type as the catalog names it: "char(30)", "int", "decimal(10,2)".
std::string CatalogType(const std::vector<std::string>& column) {
  const std::string type = Lower(column[1]);
  if (type == "char" || type == "varchar" || type == "binary" || type == "varbinary" || type == "nchar" ||
      type == "nvarchar") {
    return fmt::format("{}({})", type, column[2] == "-1" ? "max" : column[2]);
  }
  if (type == "decimal" || type == "numeric") return fmt::format("{}({},{})", type, column[3], column[4]);
  return type;
}

std::string ScriptType(const std::string& type) {
  std::string lower = Lower(type);
  if (lower == "integer") return "int";
  return lower;
}

// The stored text of a module, read in pieces that fit a cursor's fields.
std::string ModuleText(const Database& database, const std::string& name) {
  constexpr int kPiece = 200;
  std::string text;
  const Rows parts = Query(database, fmt::format("SELECT colid FROM syscomments WHERE id = OBJECT_ID({}) ORDER BY colid",
                                                 ObjectIdLiteral(name)));
  for (const auto& part : parts) {
    for (int at = 1;; at += kPiece) {
      const Rows piece = Query(database, fmt::format(
          "SELECT SUBSTRING(text, {0}, {1}) AS piece, LEN(SUBSTRING(text, {0}, {1}) + 'x') - 1 AS size "
          "FROM syscomments WHERE id = OBJECT_ID({2}) AND colid = {3}", at, kPiece, ObjectIdLiteral(name), part[0]));
      if (piece.empty()) break;
      const size_t size = static_cast<size_t>(std::max(0, std::atoi(piece[0][1].c_str())));
      if (size == 0) break;
      std::string chunk = piece[0][0];
      chunk.resize(size, ' ');  // the cursor drops trailing blanks
      text += chunk;
    }
  }
  return text;
}

std::string Normalized(std::string text) {
  std::string out;
  for (char c : text) {
    if (c != '\r') out += c;
  }
  const size_t first = out.find_first_not_of(" \t\n");
  if (first == std::string::npos) return "";
  return out.substr(first, out.find_last_not_of(" \t\n") - first + 1);
}

void CheckColumns(const Database& database, const ExpectedObject& table, std::vector<std::string>* drift) {
  const Rows live = Query(database, fmt::format(
      "SELECT COLUMN_NAME, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, NUMERIC_PRECISION, NUMERIC_SCALE "
      "FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME = {} ORDER BY ORDINAL_POSITION", Literal(table.name)));
  // By the name in lower case: the live name and type.
  std::map<std::string, std::pair<std::string, std::string>> live_types;
  for (const auto& column : live) live_types[Lower(column[0])] = {column[0], CatalogType(column)};
  for (const ExpectedColumn& column : table.columns) {
    auto it = live_types.find(Lower(column.name));
    if (it == live_types.end()) {
      drift->push_back(fmt::format("Tabelle {}, Spalte {}: fehlt", table.name, column.name));
    } else if (it->second.second != ScriptType(column.type)) {
      drift->push_back(fmt::format("Tabelle {}, Spalte {}: {} erwartet, {} vorhanden", table.name, column.name,
                                   ScriptType(column.type), it->second.second));
    }
    if (it != live_types.end()) live_types.erase(it);
  }
  for (const auto& [key, column] : live_types) {
    drift->push_back(fmt::format("Tabelle {}, Spalte {} ({}): nicht in der Definition", table.name, column.first,
                                 column.second));
  }
}

bool IndexExists(const Database& database, const ExpectedObject& index) {
  return !Query(database, fmt::format("SELECT name FROM sysindexes WHERE id = OBJECT_ID({}) AND name = {}",
                                      ObjectIdLiteral(index.table), Literal(index.name)))
              .empty();
}

// A navigation procedure not of the table's shape is another table's whose
// composed procedure name is the same: those on the data table select "TOP 1
// RecId FROM" it, those on the key table "TOP 1 [DataRecId]" or "TOP 50
// [DataRecId]" from that (the key table of T and the data table of T_Keys
// are both ut_T_Keys).
bool NamesTable(const std::string& text, const std::string& table) {
  // A bracket inside a name is doubled; read as one mark, [dbo].[ut_T] is not
  // found in [dbo].[ut_T]]x].
  const auto marked = [](const std::string& sql) {
    std::string out;
    for (size_t i = 0; i < sql.size(); ++i) {
      const bool doubled = sql[i] == ']' && i + 1 < sql.size() && sql[i + 1] == ']';
      out += doubled ? '\x01' : sql[i];
      i += doubled;
    }
    return out;
  };
  const std::string lower = marked(Lower(text));
  std::string escaped;
  for (char c : table) escaped += c == ']' ? std::string("]]") : std::string(1, c);
  const std::string bracketed = marked("[dbo].[" + Lower(escaped));
  if (lower.find("top 1 recid from " + bracketed + "]") != std::string::npos) return true;
  return lower.find(bracketed + "_keys]") != std::string::npos &&
         (lower.find("top 1 [datarecid]") != std::string::npos || lower.find("top 50 [datarecid]") != std::string::npos);
}

// Only the navigation procedures compose their names from the table's and
// the key's.
bool IsNavigationProcedure(const ExpectedObject& object) {
  if (object.kind != ExpectedObject::Kind::kProcedure) return false;
  for (const char* prefix : {"up_First_", "up_Last_", "up_Prior_", "up_Next_", "up_Prior50_", "up_Next50_", "up_FindL_", "up_FindF_"}) {
    if (object.name.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

std::string TextDrift(const std::string& live, const ExpectedObject& object, const std::string& table) {
  if (Normalized(live) == Normalized(object.text)) return "";
  if (IsNavigationProcedure(object) && !table.empty() && !NamesTable(live, table)) {
    return "gehört zu einer anderen Tabelle";
  }
  return "Text weicht vom erzeugten ab";
}

std::vector<std::string> Drift(const Database& database, const std::vector<ExpectedObject>& objects) {
  std::vector<std::string> drift;
  std::string table;  // the data table: the first the script creates
  for (const ExpectedObject& object : objects) {
    if (object.kind == ExpectedObject::Kind::kTable && table.empty()) table = object.name;
  }
  for (const ExpectedObject& object : objects) {
    const std::string what = fmt::format("{} {}", KindName(object.kind), object.name);
    if (object.kind == ExpectedObject::Kind::kIndex) {
      if (!IndexExists(database, object)) drift.push_back(what + ": fehlt");
      continue;
    }
    if (Query(database, fmt::format("SELECT name FROM sysobjects WHERE name = {}", Literal(object.name))).empty()) {
      drift.push_back(what + ": fehlt");
      continue;
    }
    if (object.kind == ExpectedObject::Kind::kTable) {
      CheckColumns(database, object, &drift);
    } else if (const std::string text_drift = TextDrift(ModuleText(database, object.name), object, table);
               !text_drift.empty()) {
      drift.push_back(what + ": " + text_drift);
    }
  }
  return drift;
}

int Check(const CheckOptions& options) {
  std::vector<std::unique_ptr<Definition>> definitions;
  for (const std::string& path : options.definitions) definitions.push_back(std::make_unique<Definition>(path));
  Database database(options.database);
  bool drifted = false;
  for (const auto& definition : definitions) {
    const std::string script = Generate(definition->get(), Artifact::kScript, !options.standard_sql);
    const std::vector<std::string> drift = Drift(database, ExpectedObjects(script));
    if (drift.empty()) {
      std::cout << fmt::format("{} ({}): in Ordnung\n", definition->table(), definition->path());
      continue;
    }
    drifted = true;
    std::cout << fmt::format("{} ({}): {} Abweichungen\n", definition->table(), definition->path(), drift.size());
    for (const std::string& line : drift) std::cout << "  " << line << "\n";
  }
  return drifted ? kExitFailed : kExitOk;
}

}  // namespace

Action AddCheckCommand(CLI::App& app) {
  auto options = std::make_shared<CheckOptions>();
  CLI::App* command = AddCommand(app, "check", "die Datenbank mit den Definitionsdateien vergleichen");
  command->add_option("Definitionsdateien", options->definitions, "eine oder mehrere Definitionsdateien")
      ->required()
      ->type_name("DATEI");
  AddDatabaseOptions(command, &options->database);
  command->add_flag("--standard", options->standard_sql, "die Tabellen wurden mit --standard angelegt");
  return [options] { return Check(*options); };
}

}  // namespace lerv
