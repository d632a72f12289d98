// lerv gen: what the library generates from definition files, to standard
// output or a file.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tools/lerv/cli_german.h"
#include "tools/lerv/commands.h"
#include "tools/lerv/definition.h"
#include "tools/lerv/failure.h"
#include "tools/lerv/generate.h"
#include "tools/lerv/output.h"

namespace lerv {
namespace {

struct GenOptions {
  std::vector<std::string> definitions;
  std::string kind = "script";
  bool transact_sql = false;
  std::string output;
};

const std::map<std::string, Artifact> kKinds = {
    {"script", Artifact::kScript}, {"drop", Artifact::kDrop},  {"struct", Artifact::kStruct},
    {"trigger-struct", Artifact::kTriggerStruct}, {"cpp", Artifact::kCpp},
};

int Gen(const GenOptions& options) {
  // Every file is read before anything is written.
  std::vector<std::unique_ptr<Definition>> definitions;
  for (const std::string& path : options.definitions) definitions.push_back(std::make_unique<Definition>(path));
  Output output(options.output);
  for (const auto& definition : definitions) {
    output.Write(Generate(definition->get(), kKinds.at(options.kind), options.transact_sql));
  }
  output.Commit();
  return kExitOk;
}

}  // namespace

Action AddGenCommand(CLI::App& app) {
  auto options = std::make_shared<GenOptions>();
  CLI::App* gen = AddCommand(app, "gen", "Skripte, Strukturdateien oder C++-Klassen aus Definitionsdateien erzeugen");
  gen->add_option("Definitionsdateien", options->definitions, "eine oder mehrere Definitionsdateien")->required()->type_name("DATEI");
  gen->add_option("--kind", options->kind,
                  "script (Tabelle, Prozeduren, Indizes), drop, struct, trigger-struct oder cpp (Vorgabe: script)")
      ->type_name("ART")
      ->check(CLI::IsMember({"script", "drop", "struct", "trigger-struct", "cpp"}));
  gen->add_flag("--tsql", options->transact_sql, "Transact-SQL statt Standard-SQL (mit Prozeduren)");
  AddOutputOption(gen, &options->output);
  return [options] { return Gen(*options); };
}

}  // namespace lerv
