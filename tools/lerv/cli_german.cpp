#include "tools/lerv/cli_german.h"

#include <cstdlib>
#include <memory>

namespace lerv {
namespace {

constexpr const char* kOptionsGroup = "Optionen";
constexpr const char* kCommandsGroup = "Befehle";

std::shared_ptr<CLI::Formatter> GermanFormatter() {
  auto formatter = std::make_shared<CLI::Formatter>();
  formatter->label("Usage", "Aufruf");
  formatter->label("OPTIONS", "OPTIONEN");
  formatter->label("SUBCOMMAND", "BEFEHL");
  formatter->label("SUBCOMMANDS", "BEFEHLE");
  formatter->label("Positionals", "Argumente");
  formatter->label("REQUIRED", "Pflicht");
  formatter->label("Env", "Umgebung");
  formatter->label("Needs", "braucht");
  formatter->label("Excludes", "nicht mit");
  formatter->column_width(34);
  return formatter;
}

// The part of an English message after its first ": ", the names it lists.
std::string NamesIn(const std::string& message) {
  const size_t colon = message.find(": ");
  return colon == std::string::npos ? message : message.substr(colon + 2);
}

}  // namespace

void MakeGerman(CLI::App& app) {
  app.formatter(GermanFormatter());
  app.option_defaults()->group(kOptionsGroup);
  app.set_help_flag("-h,--help", "Diese Hilfe zeigen");
  app.footer("Hilfe zu einem Befehl: lerv BEFEHL --help");
}

CLI::App* AddCommand(CLI::App& app, const std::string& name, const std::string& description) {
  CLI::App* command = app.add_subcommand(name, description);
  command->group(kCommandsGroup);
  command->formatter(app.get_formatter());
  command->option_defaults()->group(kOptionsGroup);
  command->set_help_flag("-h,--help", "Diese Hilfe zeigen");
  return command;
}

CLI::Validator NotNegative() {
  return CLI::Validator(
      [](std::string& value) -> std::string {
        char* end = nullptr;
        const long long number = std::strtoll(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || number < 0) return value + " ist keine Zahl ab 0";
        return "";
      },
      "", "nicht negativ");
}

void AddDefinitionArgument(CLI::App* command, std::string* path) {
  command->add_option("Definitionsdatei", *path, "die Definitionsdatei der Tabelle")->required()->type_name("DATEI");
}

void AddOutputOption(CLI::App* command, std::string* path) {
  command->add_option("-o,--output", *path, "in diese Datei statt auf die Standardausgabe")->type_name("DATEI");
}

CLI::Option* AddEncodingOption(CLI::App* command, std::string* encoding) {
  return command
      ->add_option("--encoding", *encoding,
                   "Zeichensatz der Exportzeilen: codepage (Vorgabe: der der Datensätze, 850 mit OEM-Umwandlung, "
                   "sonst 1252) oder utf-8")
      ->type_name("NAME")
      ->check(CLI::IsMember({"codepage", "utf-8"}));
}

std::string UsageMessage(const CLI::ParseError& error) {
  const std::string what = error.what();
  if (dynamic_cast<const CLI::ExtrasError*>(&error)) return "Unerwartetes Argument: " + NamesIn(what);
  if (dynamic_cast<const CLI::RequiredError*>(&error)) {
    if (what.rfind("A subcommand", 0) == 0) return "Kein Befehl angegeben (lerv --help zeigt sie).";
    const size_t end = what.find(" is required");
    return "Pflichtangabe fehlt: " + (end == std::string::npos ? what : what.substr(0, end));
  }
  if (dynamic_cast<const CLI::ExcludesError*>(&error)) {
    // "--a excludes --b"
    const size_t excludes = what.find(" excludes ");
    if (excludes != std::string::npos) {
      return "Diese Angaben schließen sich aus: " + what.substr(0, excludes) + ", " + what.substr(excludes + 10);
    }
    return "Diese Angaben schließen sich aus: " + NamesIn(what);
  }
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error)) return "Falsche Zahl von Werten: " + what;
  if (dynamic_cast<const CLI::ConversionError*>(&error) || dynamic_cast<const CLI::ValidationError*>(&error)) {
    // "Could not convert: RecId = abc"
    const size_t equals = what.find(" = ");
    if (what.rfind("Could not convert: ", 0) == 0 && equals != std::string::npos) {
      return "Ungültiger Wert für " + what.substr(19, equals - 19) + ": " + what.substr(equals + 3);
    }
    // "--kind: foo not in {a,b}"
    const size_t colon = what.find(": ");
    const size_t not_in = what.find(" not in ");
    if (colon != std::string::npos && not_in != std::string::npos && not_in > colon) {
      return "Ungültiger Wert für " + what.substr(0, colon) + ": " + what.substr(colon + 2, not_in - colon - 2) +
             " (erlaubt: " + what.substr(not_in + 8) + ")";
    }
    return "Ungültiger Wert: " + what;
  }
  return "Falscher Aufruf: " + what;
}

}  // namespace lerv
