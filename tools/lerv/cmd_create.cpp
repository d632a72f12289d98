// lerv create: the tables of definition files created in the database, or
// brought up to their definitions; the server functions first.
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
#include "tools/lerv/generate.h"
#include "tools/lerv/progress.h"
#include "tools/lerv/server_functions.h"

namespace lerv {
namespace {

struct CreateOptions {
  DatabaseOptions database;
  std::vector<std::string> definitions;
  bool standard_sql = false;
  bool quiet = false;
};

int Create(const CreateOptions& options) {
  std::vector<std::unique_ptr<Definition>> definitions;
  for (const std::string& path : options.definitions) definitions.push_back(std::make_unique<Definition>(path));
  DatabaseOptions database_options = options.database;
  database_options.create_missing = true;
  Database database(database_options);
  if (!options.standard_sql) database.RunScript(ServerFunctionsScript(), "Serverfunktionen");
  Progress progress("Tabellen", static_cast<long>(definitions.size()), options.quiet);
  for (const auto& definition : definitions) {
    database.RunScript(Generate(definition->get(), Artifact::kScript, !options.standard_sql),
                       fmt::format("{} (Tabelle {})", definition->path(), definition->table()));
    progress.Advance();
  }
  progress.Finish();
  if (!options.quiet) std::cerr << Counted(static_cast<long long>(definitions.size()), "Tabelle", "Tabellen") + " angelegt oder aktualisiert\n";
  return kExitOk;
}

}  // namespace

Action AddCreateCommand(CLI::App& app) {
  auto options = std::make_shared<CreateOptions>();
  CLI::App* create = AddCommand(app, "create", "Tabellen aus Definitionsdateien anlegen oder auf ihren Stand bringen");
  create->add_option("Definitionsdateien", options->definitions, "eine oder mehrere Definitionsdateien")->required()->type_name("DATEI");
  AddDatabaseOptions(create, &options->database);
  create->add_flag("--standard", options->standard_sql,
                   "nur Standard-SQL: keine Serverfunktionen und Prozeduren");
  create->add_flag("-q,--quiet", options->quiet, "keine Meldung je Tabelle");
  return [options] { return Create(*options); };
}

}  // namespace lerv
