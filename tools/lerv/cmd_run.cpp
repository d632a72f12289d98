// lerv run: SQL script files, batch by batch, stopping at the first batch
// that fails.
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "tools/lerv/cli_german.h"
#include "tools/lerv/commands.h"
#include "tools/lerv/database.h"
#include "tools/lerv/failure.h"
#include "tools/lerv/script_batches.h"

namespace lerv {
namespace {

struct RunOptions {
  DatabaseOptions database;
  std::vector<std::string> scripts;
  bool quiet = false;
};

// A script's text; "-" reads standard input.
std::string ReadScript(const std::string& path) {
  if (path == "-") {
    std::ostringstream text;
    text << std::cin.rdbuf();
    return text.str();
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Failure(fmt::format("Skriptdatei nicht lesbar: {}", path));
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw Failure(fmt::format("Skriptdatei nicht lesbar: {}", path));
  return text;
}

std::string NameOf(const std::string& path) { return path == "-" ? std::string("Standardeingabe") : path; }

int Run(const RunOptions& options) {
  std::vector<std::string> texts;
  for (const std::string& path : options.scripts) {
    texts.push_back(ReadScript(path));
    // Every script splits before the first runs.
    try {
      SplitScript(texts.back());
    } catch (const Failure& failure) {
      throw Failure(NameOf(path) + ": " + failure.what());
    }
  }
  DatabaseOptions database_options = options.database;
  database_options.create_missing = true;
  Database database(database_options);
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::string name = NameOf(options.scripts[i]);
    const long runs = database.RunScript(texts[i], name);
    if (!options.quiet) std::cerr << fmt::format("{}: {} Stapel ausgeführt\n", name, runs);
  }
  return kExitOk;
}

}  // namespace

Action AddRunCommand(CLI::App& app) {
  auto options = std::make_shared<RunOptions>();
  CLI::App* run = AddCommand(app, "run", "SQL-Skriptdateien Stapel für Stapel ausführen (Stapel enden mit GO)");
  run->add_option("Skriptdateien", options->scripts, "eine oder mehrere Skriptdateien (- liest die Standardeingabe)")
      ->required()
      ->type_name("DATEI");
  AddDatabaseOptions(run, &options->database);
  run->add_flag("-q,--quiet", options->quiet, "keine Meldung je Skript");
  return [options] { return Run(*options); };
}

}  // namespace lerv
