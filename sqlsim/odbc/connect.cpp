#include "sqlsim/odbc/connect.h"

#include <odbcinst.h>

#include <cctype>
#include <cstdlib>

namespace sqlsim::odbc {

namespace {

// The keys the driver reads from a data source.
const char* const kDataSourceKeys[] = {"DATADIR", "DATABASE", "AUTOCREATE",
                                       "TRACE", "TIMEOUT", "QUERYTIMEOUT", "CURSORS"};

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

// A braced value from text[*pos] (at '{') on; *pos ends after the '}'.
bool ReadBraced(std::string_view text, size_t* pos, std::string* value) {
  for (size_t i = *pos + 1; i < text.size(); ++i) {
    if (text[i] != '}') {
      value->push_back(text[i]);
    } else if (i + 1 < text.size() && text[i + 1] == '}') {
      value->push_back('}');
      ++i;
    } else {
      *pos = i + 1;
      return true;
    }
  }
  return false;
}

bool IsTrue(std::string_view v) {
  std::string u = Upper(Trim(v));
  return u == "1" || u == "YES" || u == "TRUE" || u == "ON" || u == "Y";
}

void AddDataSourceKeys(const std::string& dsn, ConnectionAttributes* attrs) {
  for (const char* key : kDataSourceKeys) {
    if (attrs->count(key)) continue;
    char buf[1024] = {0};
    int n = SQLGetPrivateProfileString(dsn.c_str(), key, "", buf, sizeof buf, "odbc.ini");
    if (n > 0 && buf[0] != '\0') (*attrs)[key] = buf;
  }
}

std::string Value(const ConnectionAttributes& attrs, const char* key) {
  auto it = attrs.find(key);
  return it == attrs.end() ? std::string() : it->second;
}

bool Options(Dbc& dbc, const ConnectionAttributes& attrs, ConnectOptions* options) {
  options->data_dir = Value(attrs, "DATADIR");
  options->database = dbc.catalog.empty() ? Value(attrs, "DATABASE") : dbc.catalog;
  if (options->data_dir.empty()) {
    dbc.diags.AddDriver("08001", "No DATADIR given: name the folder of the databases "
                                 "in the connection string or the data source");
    return false;
  }
  if (options->database.empty()) {
    dbc.diags.AddDriver("08001", "No DATABASE given: name the database in the "
                                 "connection string or the data source");
    return false;
  }
  options->autocreate = IsTrue(Value(attrs, "AUTOCREATE"));
  options->trace_file = Value(attrs, "TRACE");
  std::string timeout = std::string(Trim(Value(attrs, "TIMEOUT")));
  if (!timeout.empty()) {
    char* end = nullptr;
    long ms = std::strtol(timeout.c_str(), &end, 10);
    if (*end != '\0' || ms < 0 || ms > INT32_MAX) {
      dbc.diags.AddDriver("08001", "TIMEOUT must be a number of milliseconds, not '" + timeout + "'");
      return false;
    }
    options->busy_timeout_ms = static_cast<int32_t>(ms);
  }
  std::string limit = std::string(Trim(Value(attrs, "QUERYTIMEOUT")));
  if (!limit.empty()) {
    char* end = nullptr;
    long seconds = std::strtol(limit.c_str(), &end, 10);
    if (*end != '\0' || seconds < 0 || seconds > INT32_MAX / 1000) {
      dbc.diags.AddDriver("08001", "QUERYTIMEOUT must be a number of seconds, not '" + limit + "'");
      return false;
    }
    options->statement_timeout_ms = static_cast<int32_t>(seconds * 1000);
  }
  return true;
}

}  // namespace

bool ParseConnectionString(std::string_view text, ConnectionAttributes* out,
                           std::string* error) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t eq = text.find('=', pos);
    size_t semi = text.find(';', pos);
    if (eq == std::string_view::npos || (semi != std::string_view::npos && semi < eq)) {
      if (!Trim(text.substr(pos, semi == std::string_view::npos ? semi : semi - pos)).empty()) {
        *error = "Connection string attribute without '=': " +
                 std::string(text.substr(pos, semi == std::string_view::npos ? semi : semi - pos));
        return false;
      }
      if (semi == std::string_view::npos) break;
      pos = semi + 1;
      continue;
    }
    std::string key = Upper(Trim(text.substr(pos, eq - pos)));
    pos = eq + 1;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    std::string value;
    if (pos < text.size() && text[pos] == '{') {
      if (!ReadBraced(text, &pos, &value)) {
        *error = "Unterminated '{' in the value of " + key;
        return false;
      }
      size_t next = text.find(';', pos);
      pos = next == std::string_view::npos ? text.size() : next + 1;
    } else {
      size_t next = text.find(';', pos);
      value = std::string(Trim(text.substr(pos, next == std::string_view::npos ? next : next - pos)));
      pos = next == std::string_view::npos ? text.size() : next + 1;
    }
    if (!key.empty() && !out->count(key)) (*out)[key] = value;
  }
  return true;
}

std::string CompletedConnectionString(const ConnectionAttributes& attrs) {
  auto pair = [](const std::string& key, const std::string& value) {
    bool brace = value.find_first_of(";{}") != std::string::npos ||
                 (!value.empty() && (value.front() == ' ' || value.back() == ' '));
    if (!brace) return key + "=" + value + ";";
    std::string escaped;
    for (char c : value) {
      escaped.push_back(c);
      if (c == '}') escaped.push_back('}');
    }
    return key + "={" + escaped + "};";
  };
  std::string out;
  auto dsn = attrs.find("DSN");
  auto driver = attrs.find("DRIVER");
  if (dsn != attrs.end()) {
    out += pair("DSN", dsn->second);
  } else if (driver != attrs.end()) {
    out += "DRIVER={" + driver->second + "};";
  }
  // The password is taken (and ignored), never handed back.
  for (const auto& [key, value] : attrs) {
    if (key != "DSN" && key != "DRIVER" && key != "PWD") out += pair(key, value);
  }
  return out;
}

SQLRETURN Connect(Dbc& dbc, ConnectionAttributes* attrs) {
  if (dbc.session) return dbc.diags.Error("08002", "Connection name in use");
  auto dsn = attrs->find("DSN");
  if (dsn != attrs->end() && !dsn->second.empty()) {
    dbc.dsn = dsn->second;
    AddDataSourceKeys(dsn->second, attrs);
  }
  ConnectOptions options;
  if (!Options(dbc, *attrs, &options)) return SQL_ERROR;
  dbc.diags.server_name = "sqlsim";
  Diagnostics diags;
  std::unique_ptr<Session> session = OpenSession(options, &diags);
  bool failed = dbc.diags.AddServer(diags);
  if (!session) {
    if (!failed) dbc.diags.AddDriver("08001", "Cannot open database " + options.database);
    return SQL_ERROR;
  }
  const std::string cursors = Upper(Trim(Value(*attrs, "CURSORS")));
  dbc.cursors = cursors == "FORWARD"  ? CursorSupport::kForwardOnly
                : cursors == "STATIC" ? CursorSupport::kStatic
                                      : CursorSupport::kAll;
  if (!dbc.autocommit) {
    Diagnostics ac;
    if (!session->SetAutocommit(false, &ac)) {
      dbc.diags.AddServer(ac);
      return SQL_ERROR;
    }
  }
  dbc.session = std::move(session);
  return dbc.diags.empty() ? SQL_SUCCESS : SQL_SUCCESS_WITH_INFO;
}

SQLRETURN Disconnect(Dbc& dbc) {
  if (!dbc.session) return dbc.diags.Error("08003", "Connection not open");
  if (dbc.session->InTransaction() && !dbc.autocommit) {
    return dbc.diags.Error("25000", "Invalid transaction state: commit or roll back first");
  }
  dbc.DropStatements();
  dbc.session.reset();
  dbc.dsn.clear();
  dbc.cursors = CursorSupport::kAll;
  return SQL_SUCCESS;
}

SQLRETURN DriverConnect(Dbc& dbc, std::string_view text, SQLSMALLINT out_max,
                        SQLUSMALLINT completion, std::string* completed) {
  if (completion != SQL_DRIVER_NOPROMPT && completion != SQL_DRIVER_COMPLETE &&
      completion != SQL_DRIVER_PROMPT && completion != SQL_DRIVER_COMPLETE_REQUIRED) {
    return dbc.diags.Error("HY110", "Invalid driver completion");
  }
  if (out_max < 0) return dbc.diags.Error("HY090", "Invalid string or buffer length");
  ConnectionAttributes attrs;
  std::string error;
  if (!ParseConnectionString(text, &attrs, &error)) return dbc.diags.Error("08001", error);
  SQLRETURN rc = Connect(dbc, &attrs);
  if (rc != SQL_ERROR) *completed = CompletedConnectionString(attrs);
  return rc;
}

}  // namespace sqlsim::odbc
