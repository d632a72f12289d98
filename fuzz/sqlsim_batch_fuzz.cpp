// Any batch text runs to its end on a session with a table, a procedure, a
// function, a view and a trigger: procedural code included, every result
// read. Whatever it does, the session gives diagnostics and never crashes;
// the statement time limit ends runaway loops and waits.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "sqlsim/engine/engine.h"

namespace {

void Run(sqlsim::Session& session, std::string_view text) {
  sqlsim::Diagnostics diags;
  auto batch = session.Prepare(text, &diags);
  if (!batch) return;
  std::vector<sqlsim::ParamValue> params(static_cast<size_t>(batch->ParameterCount()));
  for (size_t i = 0; i < params.size(); ++i) params[i].value = sqlsim::Value::Integer(static_cast<int64_t>(i));
  auto execution = batch->Execute(std::move(params));
  while (auto result = execution->NextResult()) {
    if (!result->rows) continue;
    sqlsim::Diagnostics read;
    while (result->rows->Next(&read)) {
      for (size_t i = 0; i < result->rows->Columns().size(); ++i) (void)result->rows->Column(i);
    }
  }
}

const char* const kSetup[] = {
    "CREATE TABLE Kunde (RecId int NOT NULL PRIMARY KEY, MandId int DEFAULT 1, Name char(20) DEFAULT '',"
    " Datum datetime DEFAULT 0, Betrag float DEFAULT 0)",
    "CREATE TABLE Kunde_Keys (DataRecId int NOT NULL PRIMARY KEY, K_Value char(30) NOT NULL)",
    "CREATE VIEW KundeV AS SELECT RecId, Name, Betrag FROM Kunde",
    "CREATE FUNCTION dbo.NextId() RETURNS integer AS BEGIN\n"
    "  RETURN isnull((SELECT MAX(RecId) FROM Kunde WITH (READUNCOMMITTED)), 0) + 1\nEND",
    "CREATE TRIGGER TrKunde ON Kunde FOR INSERT, UPDATE AS\n"
    "  SET NOCOUNT ON\n"
    "  DELETE FROM Kunde_Keys WHERE DataRecId IN (SELECT RecId FROM DELETED)\n"
    "  INSERT INTO Kunde_Keys SELECT RecId, UPPER(convert(char(20), Name) + STR(RecId, 10)) FROM INSERTED",
    "CREATE PROCEDURE Add @name char(20) AS\n"
    "  DECLARE @id int = dbo.NextId()\n"
    "  INSERT INTO Kunde (RecId, Name) VALUES (@id, RTRIM(@name))\n"
    "  SELECT @id AS RecId",
    // Text the fuzzer writes reaches dynamic batches through these.
    "CREATE PROCEDURE RunText @sql varchar(200) AS EXEC (@sql)",
    "CREATE PROCEDURE RunParams @sql nvarchar(200), @params nvarchar(100), @a int AS\n"
    "  DECLARE @out int\n"
    "  EXEC sp_executesql @sql, @params, @a, @out OUTPUT\n"
    "  SELECT @out",
    "CREATE VIEW KundeRang AS WITH k AS (SELECT RecId, Name, ROW_NUMBER() OVER (PARTITION BY Name ORDER BY RecId)"
    " AS rn FROM Kunde) SELECT * FROM k WHERE rn = 1",
};

sqlsim::Session* FuzzSession() {
  static std::unique_ptr<sqlsim::Session> session = [] {
    char pattern[] = "/tmp/sqlsim-batch-fuzz-XXXXXX";
    const char* dir = mkdtemp(pattern);
    sqlsim::ConnectOptions options;
    options.data_dir = dir ? dir : "/tmp";
    options.database = "fuzz";
    options.autocreate = true;
    options.busy_timeout_ms = 100;
    options.statement_timeout_ms = 100;
    sqlsim::Diagnostics diags;
    auto opened = sqlsim::OpenSession(options, &diags);
    if (opened) {
      for (const char* sql : kSetup) Run(*opened, sql);
    }
    return opened;
  }();
  return session.get();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sqlsim::Session* session = FuzzSession();
  if (!session) return 0;
  Run(*session, std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
