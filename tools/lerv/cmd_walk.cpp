// lerv walk and lerv show: a quick look at a table's records on the
// terminal, in key order from a start or a prefix, or by RecId.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "tools/lerv/cli_german.h"
#include "tools/lerv/commands.h"
#include "tools/lerv/database.h"
#include "tools/lerv/definition.h"
#include "tools/lerv/failure.h"
#include "tools/lerv/record_lines.h"
#include "tools/lerv/record_table.h"

namespace lerv {
namespace {

struct WalkOptions {
  DatabaseOptions database;
  std::string definition;
  std::string key;
  long first = 20;
  std::string from;
  std::string to;
  std::string prefix;
};

int Walk(const WalkOptions& options) {
  Definition definition(options.definition);
  TableDef* td = definition.get();
  const int32_t key = options.key.empty() ? rv_GetPrimaryKey(td) : KeyNumber(definition, options.key);
  if (rv_KeyCnt(td) == 0) throw Failure(fmt::format("{}: die Tabelle hat keinen Schlüssel", definition.path()));
  Database database(options.database);
  database.RequireTable(td);
  const std::string start = options.prefix.empty() ? options.from : options.prefix;
  int32_t id = start.empty() ? rv_OdbcFirstRecId(database.handle(), td, key)
                             : rv_OdbcFindFirstRecId(database.handle(), td, key, start.c_str(),
                                                     static_cast<int32_t>(start.size()));
  RecordTable table(td);
  std::vector<char> rec = RecordBuffer(td);
  for (long shown = 0; id != 0 && (options.first <= 0 || shown < options.first); ++shown) {
    if (!rv_OdbcGetRecord(database.handle(), td, id, rec.data())) {
      throw Failure(fmt::format("Datensatz {} nicht lesbar (passen Tabelle und Definition zusammen?)", id));
    }
    const std::string value = KeyValue(td, key, rec.data());
    if (!options.prefix.empty() && value.compare(0, options.prefix.size(), UpperAscii(options.prefix)) != 0) break;
    if (!options.to.empty() && value.compare(0, options.to.size(), UpperAscii(options.to)) > 0) break;
    table.Add(id, rec.data());
    id = rv_OdbcNextRecId(database.handle(), td, key, id);
  }
  std::cout << table.Render();
  std::cout << fmt::format("{} in der Folge von {}\n", Counted(static_cast<long long>(table.size() - 1), "Datensatz", "Datensätze"), rv_KeyName(td, key));
  return kExitOk;
}

struct ShowOptions {
  DatabaseOptions database;
  std::string definition;
  std::vector<int> ids;
};

int Show(const ShowOptions& options) {
  Definition definition(options.definition);
  Database database(options.database);
  database.RequireTable(definition.get());
  std::vector<char> rec = RecordBuffer(definition.get());
  bool all_found = true;
  for (size_t i = 0; i < options.ids.size(); ++i) {
    if (i > 0) std::cout << "\n";
    if (!rv_OdbcGetRecord(database.handle(), definition.get(), options.ids[i], rec.data())) {
      std::cerr << fmt::format("lerv: kein Datensatz mit RecId {} in {}\n", options.ids[i], definition.table());
      all_found = false;
      continue;
    }
    std::cout << RecordBlock(definition.get(), options.ids[i], rec.data());
  }
  return all_found ? kExitOk : kExitFailed;
}

}  // namespace

Action AddWalkCommand(CLI::App& app) {
  auto options = std::make_shared<WalkOptions>();
  CLI::App* command = AddCommand(app, "walk", "Datensätze in Schlüsselfolge als Tabelle zeigen");
  AddDefinitionArgument(command, &options->definition);
  AddDatabaseOptions(command, &options->database);
  command->add_option("--key", options->key, "dieser Schlüssel (Vorgabe: der Primärschlüssel)")->type_name("NAME");
  command->add_option("-n,--first", options->first, "höchstens so viele Datensätze (0: alle; Vorgabe: 20)")
      ->type_name("ZAHL")
      ->check(NotNegative());
  CLI::Option* prefix = command->add_option("--prefix", options->prefix,
                                            "nur Schlüsselwerte, die so beginnen (wie der Schlüssel sie speichert)")
                            ->type_name("TEXT");
  command->add_option("--from", options->from, "ab diesem Schlüsselwert")->type_name("TEXT")->excludes(prefix);
  command->add_option("--to", options->to, "bis zu diesem Schlüsselwert")->type_name("TEXT")->excludes(prefix);
  return [options] { return Walk(*options); };
}

Action AddShowCommand(CLI::App& app) {
  auto options = std::make_shared<ShowOptions>();
  CLI::App* command = AddCommand(app, "show", "Datensätze mit diesen RecIds Feld für Feld zeigen");
  AddDefinitionArgument(command, &options->definition);
  command->add_option("RecId", options->ids, "eine oder mehrere RecIds")->required()->type_name("ZAHL");
  AddDatabaseOptions(command, &options->database);
  return [options] { return Show(*options); };
}

}  // namespace lerv
