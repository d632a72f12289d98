#include "sqlsim/odbc/connect.h"

#include <odbcinst.h>

#include <cctype>
#include <cstdlib>

namespace sqlsim::odbc {

namespace {

// The keys the driver reads from a data source.
const char* const kDataSourceKeys[] = {"DATADIR", "DATABASE", "AUTOCREATE",
                                       "TRACE", "TIMEOUT", "QUERYTIMEOUT", "CURSORS"};

bool IsTrue(std::string_view v) {
  std::string u = UpperAttribute(TrimAttribute(v));
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
  std::string timeout = std::string(TrimAttribute(Value(attrs, "TIMEOUT")));
  if (!timeout.empty()) {
    char* end = nullptr;
    long ms = std::strtol(timeout.c_str(), &end, 10);
    if (*end != '\0' || ms < 0 || ms > INT32_MAX) {
      dbc.diags.AddDriver("08001", "TIMEOUT must be a number of milliseconds, not '" + timeout + "'");
      return false;
    }
    options->busy_timeout_ms = static_cast<int32_t>(ms);
  }
  std::string limit = std::string(TrimAttribute(Value(attrs, "QUERYTIMEOUT")));
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
  const std::string cursors = UpperAttribute(TrimAttribute(Value(*attrs, "CURSORS")));
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
