// lerv import: export lines into a table, appended or, with --update-by,
// updating the record of the same key. Every line is converted before the
// first is written, and the records go in in transactions: a line that does
// not convert writes nothing.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "tools/lerv/cli_german.h"
#include "tools/lerv/commands.h"
#include "tools/lerv/database.h"
#include "tools/lerv/definition.h"
#include "tools/lerv/failure.h"
#include "tools/lerv/progress.h"
#include "tools/lerv/record_lines.h"
#include "tools/lerv/terminal_text.h"

namespace lerv {
namespace {

struct ImportOptions {
  DatabaseOptions database;
  std::string definition;
  std::string input = "-";
  std::string update_by;
  long batch = 0;
  bool quiet = false;
  std::string encoding = "codepage";
  bool encoding_given = false;
};

// Brings line into the code page of the record buffers; what is wrong with
// it, or nothing. A line in UTF-8 is refused unless an encoding was chosen,
// lest its umlauts be stored mangled.
std::string ToCodePage(const ImportOptions& options, std::string& line) {
  if (options.encoding == "utf-8") {
    std::optional<std::string> text = Utf8ToRecordText(line);
    if (!text) return fmt::format("kein UTF-8 oder ein Zeichen, das der Zeichensatz {} nicht kennt", RecordCodePage());
    line = std::move(*text);
  } else if (!options.encoding_given && LooksLikeUtf8(line)) {
    return "Text in UTF-8 (--encoding utf-8 wandelt ihn um, --encoding codepage übernimmt die Bytes)";
  }
  return {};
}

// The records of the input, each converted into its buffer.
std::vector<std::vector<char>> ReadRecords(const TableDef* td, const ImportOptions& options) {
  const std::string& input = options.input;
  std::ifstream file;
  if (input != "-") {
    file.open(input, std::ios::binary);
    if (!file) throw Failure(fmt::format("Eingabedatei nicht lesbar: {}", input));
  }
  std::istream& in = input == "-" ? std::cin : file;
  const std::string name = input == "-" ? "Standardeingabe" : input;
  std::vector<std::vector<char>> records;
  std::string line;
  for (long number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() && in.peek() == std::char_traits<char>::eof()) break;
    if (number == 1 && options.encoding == "utf-8" && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    std::vector<char> rec = RecordBuffer(td);
    std::string wrong = ToCodePage(options, line);
    if (wrong.empty()) wrong = ImportLine(td, line, rec.data());
    if (!wrong.empty()) throw Failure(fmt::format("{}, Zeile {}: {}; nichts übernommen", name, number, wrong));
    records.push_back(std::move(rec));
  }
  if (in.bad()) throw Failure(fmt::format("Eingabe nicht lesbar: {}", name));
  return records;
}

class Transaction {
 public:
  explicit Transaction(const Database& database) : database_(database) {
    database_.RunScript("BEGIN TRANSACTION", "Transaktion");
  }
  ~Transaction() {
    if (open_) database_.RunScriptQuietly("IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION");
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit() {
    database_.RunScript("COMMIT TRANSACTION", "Transaktion");
    open_ = false;
  }

 private:
  const Database& database_;
  bool open_ = true;
};

// The first record with rec's value of key (compared as the key tables
// compare: in upper case), 0 when none. The search takes at most the first
// 128 characters of a key; records sharing them are read one by one.
int32_t RecordWithKeyOf(const Database& database, const TableDef* td, int32_t key, const char* rec) {
  constexpr int32_t kSearchable = 128;
  std::vector<char> value(kKeyValueRoom, '\0');
  const int32_t size = rv_MakeKeyFromRecord(td, key, rec, value.data());
  const int32_t searched = std::min(size, kSearchable);
  const std::string wanted = KeyValue(td, key, rec);
  std::vector<char> found = RecordBuffer(td);
  for (int32_t id = rv_OdbcFindFirstRecId(database.handle(), td, key, value.data(), searched); id != 0;
       id = rv_OdbcNextRecIdEx(database.handle(), td, key, id)) {
    if (!rv_OdbcGetRecordEx(database.handle(), td, id, found.data())) return 0;
    const std::string value_found = KeyValue(td, key, found.data());
    if (value_found.compare(0, static_cast<size_t>(searched), wanted, 0, static_cast<size_t>(searched)) != 0) break;
    if (value_found == wanted) return id;
  }
  return 0;
}

int Import(const ImportOptions& options) {
  Definition definition(options.definition);
  TableDef* td = definition.get();
  const int32_t key = options.update_by.empty() ? -1 : KeyNumber(definition, options.update_by);
  const std::vector<std::vector<char>> records = ReadRecords(td, options);
  Database database(options.database);
  database.RequireTable(td);
  rv_OdbcPrepareAll(td, database.handle());
  const size_t batch = options.batch > 0 ? static_cast<size_t>(options.batch) : records.size();
  size_t done = 0, updated = 0;
  Progress progress("Import", static_cast<long>(records.size()), options.quiet);
  while (done < records.size()) {
    Transaction transaction(database);
    const size_t end = std::min(records.size(), done + batch);
    for (size_t i = done; i < end; ++i) {
      const char* rec = records[i].data();
      const int32_t id = key >= 0 ? RecordWithKeyOf(database, td, key, rec) : 0;
      const bool stored = id != 0 ? rv_OdbcUpdateRecordEx(database.handle(), td, id, rec) != 0
                                  : rv_OdbcAppendRecordEx(database.handle(), td, rec) != 0;
      if (!stored) {
        throw Failure(fmt::format("Datensatz aus Zeile {} nicht gespeichert; {} davor übernommen", i + 1,
                                  Counted(static_cast<long long>(done), "Datensatz", "Datensätze")));
      }
      updated += id != 0;
      progress.Advance();
    }
    transaction.Commit();
    done = end;
  }
  progress.Finish();
  if (!options.quiet) {
    std::cerr << fmt::format("{} übernommen ({} angefügt, {} geändert)\n", Counted(static_cast<long long>(done), "Datensatz", "Datensätze"), done - updated, updated);
  }
  return kExitOk;
}

}  // namespace

Action AddImportCommand(CLI::App& app) {
  auto options = std::make_shared<ImportOptions>();
  CLI::App* command = AddCommand(app, "import", "Exportzeilen in eine Tabelle übernehmen");
  AddDefinitionArgument(command, &options->definition);
  command->add_option("Eingabe", options->input, "Datei mit Exportzeilen (Vorgabe: - für die Standardeingabe)")
      ->type_name("DATEI");
  AddDatabaseOptions(command, &options->database);
  command->add_option("--update-by", options->update_by,
                      "den ersten Datensatz mit gleichem Wert dieses Schlüssels ändern statt anzufügen")
      ->type_name("NAME");
  command->add_option("--batch", options->batch,
                      "Datensätze je Transaktion (Vorgabe: 0, alle in einer)")
      ->type_name("ZAHL")
      ->check(NotNegative());
  CLI::Option* encoding = AddEncodingOption(command, &options->encoding);
  command->add_flag("-q,--quiet", options->quiet, "keine Meldung am Ende");
  return [options, encoding] {
    options->encoding_given = encoding->count() > 0;
    return Import(*options);
  };
}

}  // namespace lerv
