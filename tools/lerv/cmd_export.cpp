// lerv export: a table's records as export lines or XML, in key or RecId
// order.
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
#include "tools/lerv/output.h"
#include "tools/lerv/progress.h"
#include "tools/lerv/record_lines.h"
#include "tools/lerv/terminal_text.h"

namespace lerv {
namespace {

struct ExportOptions {
  DatabaseOptions database;
  std::string definition;
  std::string key;
  bool xml = false;
  std::string encoding = "codepage";
  std::string output;
  bool quiet = false;
};

int Export(const ExportOptions& options) {
  Definition definition(options.definition);
  TableDef* td = definition.get();
  const int32_t key = options.key.empty() ? -1 : KeyNumber(definition, options.key);
  Database database(options.database);
  database.RequireTable(td);
  rv_OdbcPrepareAll(td, database.handle());
  Output output(options.output);
  if (options.xml) output.Write(fmt::format("<?xml version=\"1.0\"?>\r\n<{}>\r\n", definition.table()));
  std::vector<char> rec = RecordBuffer(td);
  long count = 0;
  Progress progress("Export", 0, options.quiet);
  for (int32_t id = rv_OdbcFirstRecIdEx(database.handle(), td, key); id != 0;
       id = rv_OdbcNextRecIdEx(database.handle(), td, key, id)) {
    if (!rv_OdbcGetRecordEx(database.handle(), td, id, rec.data())) {
      throw Failure(fmt::format("Datensatz {} der Tabelle {} nicht lesbar (passen Tabelle und Definition zusammen?)",
                                id, definition.table()));
    }
    if (options.xml) {
      output.Write(XmlRecord(td, id, rec.data()));
    } else {
      const std::string line = ExportLine(td, rec.data());
      output.Write((options.encoding == "utf-8" ? RecordTextToUtf8(line) : line) + "\r\n");
    }
    ++count;
    progress.Advance();
  }
  progress.Finish();
  if (options.xml) output.Write(fmt::format("</{}>\r\n", definition.table()));
  output.Commit();
  if (!options.quiet) std::cerr << Counted(count, "Datensatz", "Datensätze") + " exportiert\n";
  return kExitOk;
}

}  // namespace

Action AddExportCommand(CLI::App& app) {
  auto options = std::make_shared<ExportOptions>();
  CLI::App* command = AddCommand(app, "export", "Datensätze einer Tabelle als Exportzeilen oder XML ausgeben");
  AddDefinitionArgument(command, &options->definition);
  AddDatabaseOptions(command, &options->database);
  command->add_option("--key", options->key, "in der Folge dieses Schlüssels (Vorgabe: nach RecId)")
      ->type_name("NAME");
  command->add_flag("--xml", options->xml, "XML statt Exportzeilen");
  AddEncodingOption(command, &options->encoding)->excludes("--xml");
  AddOutputOption(command, &options->output);
  command->add_flag("-q,--quiet", options->quiet, "keine Meldung am Ende");
  return [options] { return Export(*options); };
}

}  // namespace lerv
