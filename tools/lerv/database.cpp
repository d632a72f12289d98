#include "tools/lerv/database.h"

#include <cctype>
#include <cstdlib>
#include <vector>

#include <fmt/format.h>

#include "tools/lerv/expected_objects.h"
#include "tools/lerv/failure.h"
#include "tools/lerv/generate.h"
#include "tools/lerv/query.h"
#include "tools/lerv/terminal_text.h"

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>
#include "tools/lerv/script_batches.h"

namespace lerv {
namespace {

// A connection string value, in braces when it holds what would end it.
std::string Attribute(const std::string& value) {
  if (value.find_first_of(";{}") == std::string::npos && value.find_first_of(' ') != 0 &&
      (value.empty() || value.back() != ' ')) {
    return value;
  }
  std::string braced = "{";
  for (char c : value) {
    braced += c;
    if (c == '}') braced += '}';
  }
  return braced + "}";
}

// The library hands the messages of a batch over end to end; each starts
// with its source in brackets ("[vendor][component]..."): one per line.
std::string MessageLines(const std::string& messages) {
  std::string lines;
  for (size_t i = 0; i < messages.size(); ++i) {
    const bool starts = messages[i] == '[' && i > 0 && messages[i - 1] != ']' && messages[i - 1] != '\n' &&
                        messages.find("][", i) != std::string::npos && messages.find("][", i) < i + 64;
    if (starts) lines += '\n';
    lines += messages[i];
  }
  while (!lines.empty() && (lines.back() == '\n' || lines.back() == '\r')) lines.pop_back();
  return lines;
}

// A connection string fit to be shown: passwords blanked.
std::string Shown(const std::string& connect) {
  std::string shown;
  size_t at = 0;
  while (at <= connect.size()) {
    size_t end = connect.find(';', at);
    if (end == std::string::npos) end = connect.size();
    std::string part = connect.substr(at, end - at);
    const size_t equals = part.find('=');
    std::string key = part.substr(0, equals);
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    key.erase(0, key.find_first_not_of(' '));
    if (equals != std::string::npos && (key.rfind("PWD", 0) == 0 || key.rfind("PASSWORD", 0) == 0)) {
      part = part.substr(0, equals + 1) + "***";
    }
    shown += (at == 0 ? "" : ";") + part;
    at = end + 1;
  }
  return shown;
}

// Why a connection failed: the library does not hand its diagnostics to the
// host, so the attempt is repeated on the library's environment to read
// them. Empty when there is nothing to tell.
std::string ConnectDiagnostic(const std::string& connect) {
  SQLHDBC dbc = SQL_NULL_HDBC;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, static_cast<SQLHENV>(rv_GetEnvHandle()), &dbc))) return "";
  std::string message;
  std::string text = connect;
  SQLRETURN rc = SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS, nullptr, 0,
                                  nullptr, SQL_DRIVER_NOPROMPT);
  if (SQL_SUCCEEDED(rc)) {
    SQLDisconnect(dbc);
  } else {
    for (SQLSMALLINT record = 1;; ++record) {
      SQLCHAR state[6] = {};
      SQLCHAR buffer[1024] = {};
      SQLINTEGER native = 0;
      SQLSMALLINT length = 0;
      if (!SQL_SUCCEEDED(SQLGetDiagRec(SQL_HANDLE_DBC, dbc, record, state, &native, buffer, sizeof buffer, &length))) {
        break;
      }
      message += fmt::format("\n  {} {}", reinterpret_cast<const char*>(state), reinterpret_cast<const char*>(buffer));
    }
  }
  SQLFreeHandle(SQL_HANDLE_DBC, dbc);
  return message;
}

std::string DefaultDriver() {
  const char* driver = std::getenv("LERV_SQLSIM_DRIVER");
  return driver && *driver ? driver : "sqlsim";
}

}  // namespace

void AddDatabaseOptions(CLI::App* command, DatabaseOptions* options) {
  CLI::Option* connect = command->add_option("--connect", options->connect,
                                             "ODBC-Verbindungszeichenfolge oder DSN=Name")->type_name("TEXT");
  command->add_option("--data", options->data,
                      "Ordner der eingebetteten sqlsim-Datenbank (Vorgabe: aktueller Ordner)")
      ->type_name("ORDNER")
      ->excludes(connect);
  command->add_option("--database", options->database, "Name der Datenbank im Ordner (Vorgabe: lerv)")
      ->type_name("NAME")
      ->excludes(connect);
  command->add_option("--driver", options->driver,
                      "sqlsim-Treiber: Name oder Pfad (Vorgabe: $LERV_SQLSIM_DRIVER, sonst sqlsim)")
      ->type_name("TREIBER")
      ->excludes(connect);
}

std::string ConnectionString(const DatabaseOptions& options) {
  if (!options.connect.empty()) return options.connect;
  const std::string driver = options.driver.empty() ? DefaultDriver() : options.driver;
  return fmt::format("DRIVER={};DATADIR={};DATABASE={};AUTOCREATE={}", Attribute(driver), Attribute(options.data),
                     Attribute(options.database), options.create_missing ? 1 : 0);
}

Database::Database(const DatabaseOptions& options) {
  const std::string connect = ConnectionString(options);
  handle_ = rv_OdbcDriverConnect(nullptr, connect.c_str());
  if (!handle_) {
    const std::string why = ConnectDiagnostic(connect);
    throw Failure(options.connect.empty()
                      ? fmt::format("Keine Verbindung zur Datenbank {} im Ordner {} (Treiber {}){}", options.database,
                                    options.data, options.driver.empty() ? DefaultDriver() : options.driver, why)
                      : fmt::format("Keine Verbindung: {}{}", Shown(options.connect), why));
  }
}

Database::~Database() {
  if (handle_) rv_OdbcDisconnect(handle_);
}

void Database::RequireTable(const TableDef* td) const {
  for (const ExpectedObject& object : ExpectedObjects(Generate(td, Artifact::kScript, true))) {
    if (object.kind != ExpectedObject::Kind::kView) continue;
    const Rows found = Query(*this, fmt::format("SELECT name FROM sysobjects WHERE name = {}", Literal(object.name)));
    if (found.empty()) throw Failure(fmt::format("Tabelle {} fehlt in der Datenbank (lerv create legt sie an)", object.name));
    return;
  }
}

bool Database::RunScriptQuietly(const std::string& script) const noexcept {
  return rv_CallStatement(handle_, script.c_str(), nullptr, 0) != 0;
}

long Database::RunScript(std::string_view script, const std::string& source) const {
  const std::vector<ScriptBatch> batches = SplitScript(script);
  long runs = 0;
  for (size_t i = 0; i < batches.size(); ++i) {
    std::vector<char> errors(8192, '\0');
    int ran = 0;
    while (ran < batches[i].repeat &&
           rv_CallStatement(handle_, batches[i].text.c_str(), errors.data(), static_cast<int32_t>(errors.size()))) {
      ++ran;
    }
    runs += ran;
    if (ran == batches[i].repeat) continue;
    const std::string messages = MessageLines(AnsiTextToUtf8(errors.data()));
    throw Failure(fmt::format("{}: Stapel {} (Zeile {}) fehlgeschlagen{}{}", source, i + 1, batches[i].line,
                              messages.empty() ? "" : ":\n", messages));
  }
  return runs;
}

}  // namespace lerv
