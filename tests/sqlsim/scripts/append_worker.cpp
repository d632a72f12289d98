// One of several processes appending to one table at the same time through
// up_Append_ZAHLEN. Usage: sqlsim_append_worker <connection string> <worker
// number> <appends> <start file> <output file>. Waits for the start file,
// then writes one line per append: the value of A it passed and the id the
// procedure returned ("error ..." when the call failed).
#include <sql.h>
#include <sqlext.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

constexpr auto kStartWait = std::chrono::seconds(30);

struct Handles {
  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  bool connected = false;
  ~Handles() {
    if (connected) SQLDisconnect(dbc);
    if (dbc) SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    if (env) SQLFreeHandle(SQL_HANDLE_ENV, env);
  }
};

std::string Error(SQLSMALLINT type, SQLHANDLE handle) {
  SQLCHAR state[6] = {0};
  SQLCHAR message[512] = {0};
  SQLINTEGER native = 0;
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length))) return "?";
  return std::string(reinterpret_cast<char*>(state)) + " " + reinterpret_cast<char*>(message);
}

// The id up_Append_ returned, or a line starting with "error".
std::string AppendOnce(SQLHDBC dbc, int32_t a, double b) {
  SQLHSTMT stmt = SQL_NULL_HSTMT;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt))) return "error allocating";
  std::string result = "error no row";
  SQLLEN a_length = 0;
  SQLLEN b_length = 0;
  SQLBindParameter(stmt, 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 10, 0, &a, 0, &a_length);
  SQLBindParameter(stmt, 2, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_FLOAT, 15, 0, &b, 0, &b_length);
  SQLRETURN rc = SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>("EXECUTE [up_Append_ZAHLEN] ?,?")),
                               SQL_NTS);
  // Row counts of the procedure's statements may come ahead of its result.
  SQLSMALLINT columns = 0;
  while (SQL_SUCCEEDED(rc) && SQL_SUCCEEDED(SQLNumResultCols(stmt, &columns)) && columns == 0) {
    rc = SQLMoreResults(stmt);
  }
  if (!SQL_SUCCEEDED(rc)) {
    result = "error " + Error(SQL_HANDLE_STMT, stmt);
  } else if (SQL_SUCCEEDED(SQLFetch(stmt))) {
    SQLINTEGER id = 0;
    SQLLEN ind = 0;
    rc = SQLGetData(stmt, 1, SQL_C_SLONG, &id, 0, &ind);
    result = SQL_SUCCEEDED(rc) && ind != SQL_NULL_DATA ? std::to_string(id) : "error reading the id";
  }
  while (SQL_SUCCEEDED(rc) && (rc = SQLMoreResults(stmt)) != SQL_NO_DATA) {
    if (!SQL_SUCCEEDED(rc)) result = "error after the row: " + Error(SQL_HANDLE_STMT, stmt);
  }
  SQLFreeHandle(SQL_HANDLE_STMT, stmt);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: %s connection worker appends start-file output-file\n", argv[0]);
    return 2;
  }
  const std::string connect = argv[1];
  const int worker = std::atoi(argv[2]);
  const int appends = std::atoi(argv[3]);
  std::ofstream out(argv[5]);
  Handles h;
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h.env);
  SQLSetEnvAttr(h.env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLAllocHandle(SQL_HANDLE_DBC, h.env, &h.dbc);
  SQLCHAR completed[1024];
  SQLSMALLINT completed_length = 0;
  SQLRETURN rc = SQLDriverConnect(h.dbc, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(connect.c_str())),
                                  SQL_NTS, completed, sizeof completed, &completed_length, SQL_DRIVER_NOPROMPT);
  if (!SQL_SUCCEEDED(rc)) {
    out << "error connecting: " << Error(SQL_HANDLE_DBC, h.dbc) << "\n";
    return 1;
  }
  h.connected = true;
  const auto deadline = std::chrono::steady_clock::now() + kStartWait;
  while (!std::filesystem::exists(argv[4])) {
    if (std::chrono::steady_clock::now() > deadline) {
      out << "error: no start\n";
      return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  for (int i = 0; i < appends; ++i) {
    const int32_t a = worker * 100000 + i;
    out << a << " " << AppendOnce(h.dbc, a, i * 0.5) << "\n";
  }
  return 0;
}
