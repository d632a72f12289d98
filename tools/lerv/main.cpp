// lerv: the command-line tool for the jobs around the library.
#include <cstdlib>
#include <exception>
#include <iostream>
#include <map>
#include <string>

#include <CLI/CLI.hpp>

#include "tools/lerv/cli_german.h"
#include "tools/lerv/commands.h"
#include "tools/lerv/failure.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

int Main(int argc, char** argv) {
  CLI::App app("lerv: Tabellen, Skripte und Datensätze der Bibliothek von der Kommandozeile", "lerv");
  lerv::MakeGerman(app);
  app.require_subcommand(1);
  std::map<std::string, lerv::Action> actions = {
      {"gen", lerv::AddGenCommand(app)},
      {"create", lerv::AddCreateCommand(app)},
      {"run", lerv::AddRunCommand(app)},
      {"export", lerv::AddExportCommand(app)},
      {"import", lerv::AddImportCommand(app)},
      {"walk", lerv::AddWalkCommand(app)},
      {"show", lerv::AddShowCommand(app)},
      {"check", lerv::AddCheckCommand(app)},
  };
  // A first argument that is no command: the parser would only miss the command.
  if (argc > 1 && actions.count(argv[1]) == 0 && std::string(argv[1]) != "-h" && std::string(argv[1]) != "--help") {
    std::cerr << "lerv: " << (argv[1][0] == '-' ? "Unbekannte Option: " : "Unbekannter Befehl: ") << argv[1]
              << " (lerv --help zeigt die Befehle)\n";
    return lerv::kExitUsage;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    // The help of the command given, if one was.
    std::cout << app.help();
    return lerv::kExitOk;
  } catch (const CLI::ParseError& error) {
    std::cerr << "lerv: " << lerv::UsageMessage(error) << "\n";
    return lerv::kExitUsage;
  }
  CLI::App* chosen = app.get_subcommands().front();
  return actions.at(chosen->get_name())();
}

// What the library would show in a message box goes to standard error with
// the box's default answer: a command-line program has no one to click.
void MessageBoxesToStandardError() {
#ifdef _WIN32
  if (GetEnvironmentVariableA("LERV32_MSGBOX_LOG", nullptr, 0) == 0) SetEnvironmentVariableA("LERV32_MSGBOX_LOG", "NUL");
#else
  setenv("LERV32_MSGBOX_LOG", "/dev/null", 0);
#endif
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The texts are UTF-8.
  SetConsoleOutputCP(CP_UTF8);
#endif
  MessageBoxesToStandardError();
  try {
    return Main(argc, argv);
  } catch (const lerv::Failure& failure) {
    std::cerr << "lerv: " << failure.what() << "\n";
  } catch (const std::exception& error) {
    std::cerr << "lerv: Unerwarteter Fehler: " << error.what() << "\n";
  }
  return lerv::kExitFailed;
}
