// Any batch text goes through the lexer, the parser, the binder and
// SQLite's own prepare without crashing; nothing is run.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sqlsim/engine/prepared_batch.h"
#include "sqlsim/engine/session.h"

namespace {

sqlsim::SessionImpl* FuzzSession() {
  static std::unique_ptr<sqlsim::Session> session = [] {
    char pattern[] = "/tmp/sqlsim-fuzz-XXXXXX";
    const char* dir = mkdtemp(pattern);
    sqlsim::ConnectOptions options;
    options.data_dir = dir ? dir : "/tmp";
    options.database = "fuzz";
    options.autocreate = true;
    sqlsim::Diagnostics diags;
    auto opened = sqlsim::OpenSession(options, &diags);
    if (opened) {
      auto batch = opened->Prepare(
          "CREATE TABLE Kunde (Nr int NOT NULL PRIMARY KEY, Name char(20) NOT NULL DEFAULT '',"
          " Ort varchar(30) NULL, Datum datetime NULL, Betrag float NULL, Bild image NULL)"
          " CREATE INDEX Ik_Name ON Kunde (Name)",
          &diags);
      if (batch) {
        auto execution = batch->Execute({});
        while (execution->NextResult()) {
        }
      }
    }
    return opened;
  }();
  return static_cast<sqlsim::SessionImpl*>(session.get());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sqlsim::SessionImpl* session = FuzzSession();
  if (!session) return 0;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  sqlsim::Diagnostics diags;
  auto prepared = session->Prepare(text, &diags);
  if (!prepared) return 0;
  auto* batch = static_cast<sqlsim::PreparedBatchImpl*>(prepared.get());
  for (sqlsim::CompiledStatement& statement : batch->statements()) {
    if (statement.kind == sqlsim::CompiledStatement::Kind::kSqlite) batch->EnsurePrepared(statement, &diags);
  }
  return 0;
}
