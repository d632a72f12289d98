// ODBC plumbing for the benchmarks: owning handles, and one check that turns
// a failed call into an OdbcError carrying the driver's diagnostic records.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <stdexcept>
#include <string>

namespace bench {

class OdbcError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The diagnostic records of a handle as "SQLSTATE (native) message; ...".
std::string DiagnosticText(SQLSMALLINT type, SQLHANDLE handle);

// Throws OdbcError naming `what` unless rc is SQL_SUCCESS or
// SQL_SUCCESS_WITH_INFO.
void Check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const char* what);

// A move-only ODBC handle freed with SQLFreeHandle.
class Handle {
 public:
  Handle() = default;
  Handle(SQLSMALLINT type, SQLHANDLE parent);
  ~Handle() { Reset(); }
  Handle(Handle&& other) noexcept;
  Handle& operator=(Handle&& other) noexcept;
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  SQLHANDLE get() const { return handle_; }
  SQLSMALLINT type() const { return type_; }

 private:
  void Reset();

  SQLSMALLINT type_ = 0;
  SQLHANDLE handle_ = nullptr;
};

// An environment and one connection to it; disconnects when destroyed.
class Connection {
 public:
  explicit Connection(const std::string& connection_string);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  SQLHDBC get() const { return dbc_.get(); }
  void SetAutocommit(bool on);
  void Commit();
  // Runs a statement that returns no rows.
  void Execute(const std::string& sql);
  // Runs a query whose first column of the first row is an integer.
  long QueryLong(const std::string& sql);

 private:
  Handle env_;
  Handle dbc_;
  bool connected_ = false;
};

// A statement handle of a connection with thin checked calls.
class Statement {
 public:
  explicit Statement(const Connection& connection);

  SQLHSTMT get() const { return stmt_.get(); }
  void Prepare(const std::string& sql);
  void Execute();
  void ExecDirect(const std::string& sql);
  // False at the end of the result set.
  bool Fetch();
  void Close();
  void BindInt(SQLUSMALLINT number, SQLINTEGER* value);
  void BindDouble(SQLUSMALLINT number, double* value);
  // A character parameter of at most `size` characters; *length holds the
  // length of each value or SQL_NTS.
  void BindText(SQLUSMALLINT number, char* value, SQLULEN size, SQLLEN* length);
  void BindColumn(SQLUSMALLINT number, SQLSMALLINT c_type, SQLPOINTER buffer,
                  SQLLEN capacity, SQLLEN* indicator);

 private:
  void Check(SQLRETURN rc, const char* what) const;

  Handle stmt_;
};

}  // namespace bench
