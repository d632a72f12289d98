// lerv run: SQL script files, batch by batch, stopping at the first batch
// that fails.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <fmt/format.h>

#include "tools/lerv/cli_german.h"
#include "tools/lerv/commands.h"
#include "tools/lerv/database.h"
#include "tools/lerv/failure.h"
#include "tools/lerv/script_batches.h"
#include "tools/lerv/terminal_text.h"

namespace lerv {
namespace {

struct RunOptions {
  DatabaseOptions database;
  std::vector<std::string> scripts;
  bool quiet = false;
  std::string encoding;  // empty: none chosen
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

// The script as the server takes it, in Windows-1252. Text in UTF-8 is
// converted when asked for and refused when no encoding was chosen: sent
// as it is, every umlaut would be stored as two characters.
std::string InServerText(std::string text, const std::string& encoding) {
  const bool marked_utf8 = encoding != "codepage" && text.rfind("\xEF\xBB\xBF", 0) == 0;
  if (marked_utf8) text.erase(0, 3);
  if (encoding == "utf-8") {
    std::optional<std::string> ansi = Utf8ToAnsiText(text);
    if (!ansi) throw Failure("kein UTF-8, oder ein Zeichen, das Windows-1252 nicht kennt");
    return *ansi;
  }
  if (!encoding.empty()) return text;
  // A file marked as UTF-8 is taken for it as soon as it holds more than ASCII.
  size_t at = FirstUtf8Character(text);
  if (marked_utf8 && at == std::string::npos) {
    at = std::find_if(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }) -
         text.begin();
    if (at == text.size()) at = std::string::npos;
  }
  if (at != std::string::npos) {
    const auto line = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n') + 1;
    throw Failure(fmt::format(
        "Zeile {}: Text in UTF-8 (--encoding utf-8 wandelt ihn um, --encoding codepage übernimmt die Bytes)", line));
  }
  return text;
}

int Run(const RunOptions& options) {
  std::vector<std::string> texts;
  for (const std::string& path : options.scripts) {
    // Every script is read and split before the first runs.
    std::string text = ReadScript(path);
    try {
      texts.push_back(InServerText(std::move(text), options.encoding));
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
  run->add_option("--encoding", options->encoding,
                  "Zeichensatz der Skripte: codepage (Windows-1252, so an den Server) oder utf-8 (umgewandelt); "
                  "ohne die Angabe wird ein Skript in UTF-8 abgewiesen")
      ->type_name("NAME")
      ->check(CLI::IsMember({"codepage", "utf-8"}));
  return [options] { return Run(*options); };
}

}  // namespace lerv
