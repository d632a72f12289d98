// What the record access tests start from: sqlsim databases reached through
// the library, tables made by the generated scripts, and the logs the
// library writes to.
#ifndef LERV32_TESTS_RECORDS_RECORD_DB_H
#define LERV32_TESTS_RECORDS_RECORD_DB_H

#include <string>
#include <vector>

#include "include/lerv32.h"
#include "platform/win_api.h"
#include "support/table_defs.h"
#include "support/test_env.h"

#include <sql.h>

namespace recordtest {

// Runs a script through the library; adds a test failure with the server's
// messages and returns false when it fails.
bool RunScript(SQLHDBC dbc, const std::string& script);

// The first column of the first row as text, "<none>" without a row.
std::string QueryText(SQLHDBC dbc, const std::string& sql);
std::vector<int32_t> QueryIds(SQLHDBC dbc, const std::string& sql);

// How often part occurs in text.
size_t Count(const std::string& text, const std::string& part);

// The calls a walk steps with: the plain ones or the prepared set's.
struct WalkCalls {
  int32_t(LERV32_CALL* first)(LERV32_HDBC, const TableDef*, int32_t);
  int32_t(LERV32_CALL* last)(LERV32_HDBC, const TableDef*, int32_t);
  int32_t(LERV32_CALL* next)(LERV32_HDBC, const TableDef*, int32_t, int32_t);
  int32_t(LERV32_CALL* prior)(LERV32_HDBC, const TableDef*, int32_t, int32_t);
};
inline const WalkCalls kPlainWalk = {rv_OdbcFirstRecId, rv_OdbcLastRecId, rv_OdbcNextRecId, rv_OdbcPriorRecId};
inline const WalkCalls kPreparedWalk = {rv_OdbcFirstRecIdEx, rv_OdbcLastRecIdEx, rv_OdbcNextRecIdEx,
                                        rv_OdbcPriorRecIdEx};

// The RecIds of a walk by key from the first record (backward: from the
// last); at most 100, so that a walk that never ends shows.
std::vector<int32_t> Walk(SQLHDBC dbc, const TableDef* td, int32_t key, bool backward,
                          const WalkCalls& calls = kPlainWalk);
// Forward, then backward.
std::vector<int32_t> WalkBothWays(SQLHDBC dbc, const TableDef* td, int32_t key, const WalkCalls& calls = kPlainWalk);

// A temporary folder with the trace, the event log and the message box log,
// a definition td_, connections closed at the end; the library's switches
// and tenant are put back as they were.
class RecordDb {
 public:
  RecordDb();
  ~RecordDb();
  // A traced connection to database in the folder.
  SQLHDBC Connect(const std::string& database);
  // Connect, then (T-SQL form) the dpxfunc script, and td_'s table.
  SQLHDBC Open(const std::string& database, int transact_sql);

  std::vector<char> Record(const std::vector<std::string>& values) const;
  // A buffer of td_'s record size, every byte fill.
  std::vector<char> Blank(char fill = ' ') const;
  std::vector<std::string> Texts(const std::vector<char>& record) const;
  std::vector<char> Read(SQLHDBC dbc, int32_t rec_id) const;
  bool Traced(const std::string& statement) const;
  std::string Events() const { return testenv::ReadText(events_); }
  std::vector<std::string> Boxes() const { return testenv::ReadLines(boxes_); }
  std::string Trace() const { return testenv::ReadText(trace_); }

  testenv::TempDir temp_;
  const std::string trace_ = temp_.File("trace.txt");
  const std::string events_ = temp_.File("events.log");
  const std::string boxes_ = temp_.File("boxes.log");
  testenv::TableDefPtr td_ = testenv::NewTableDef();

 private:
  testenv::ScopedEnv event_log_{"LEBASE32_EVENTLOG", events_};
  testenv::ScopedEnv box_log_{"LERV32_MSGBOX_LOG", boxes_};
  testenv::ScopedEnv answers_{"LERV32_MSGBOX_ANSWERS", std::string()};
  std::vector<SQLHDBC> connections_;
  int32_t saved_[3];
};

}  // namespace recordtest

#endif  // LERV32_TESTS_RECORDS_RECORD_DB_H
