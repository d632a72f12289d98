// What the blob tests start from: sqlsim databases with the shipped blob
// script run through the library, connections closed at the end, the
// message box log and the traces of the library and of the driver.
#ifndef LERV32_TESTS_BLOB_BLOB_DB_H
#define LERV32_TESTS_BLOB_BLOB_DB_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "include/lerv32.h"
#include "platform/win_api.h"
#include "support/sqlsim_db.h"
#include "support/test_env.h"

namespace blobtest {

class BlobDb {
 public:
  BlobDb() = default;
  ~BlobDb() {
    for (LERV32_HDBC dbc : connections_) rv_OdbcDisconnect(dbc);
  }
  BlobDb(const BlobDb&) = delete;
  BlobDb& operator=(const BlobDb&) = delete;

  // A connection to database in the folder, its driver traced to
  // driver_trace_; with blob_tables, the blob script run on it first. extra
  // is appended to the connection string.
  LERV32_HDBC Connect(const std::string& database = "blobs", bool blob_tables = true,
                      const std::string& extra = std::string()) {
    const std::string connect = testenv::SqlsimConnectString(temp_.Path(), database, driver_trace_) + extra;
    LERV32_HDBC dbc = rv_OdbcDriverConnect(nullptr, connect.c_str());
    EXPECT_NE(dbc, nullptr) << connect;
    if (dbc == nullptr) return nullptr;
    connections_.push_back(dbc);
    char errors[2048] = {};
    if (blob_tables) {
      EXPECT_EQ(rv_CallSqlFile(dbc, nullptr, LERV32_BLOBS_SQL, errors, sizeof errors), 1) << errors;
    }
    return dbc;
  }

  std::vector<std::string> Boxes() const { return testenv::ReadLines(boxes_); }
  std::string File(const std::string& name) const { return temp_.File(name); }

  testenv::TempDir temp_;
  const std::string driver_trace_ = temp_.File("driver-trace.txt");
  const std::string boxes_ = temp_.File("boxes.log");

 private:
  testenv::ScopedEnv box_log_{"LERV32_MSGBOX_LOG", boxes_};
  testenv::ScopedEnv answers_{"LERV32_MSGBOX_ANSWERS", std::string()};
  std::vector<LERV32_HDBC> connections_;
};

}  // namespace blobtest

#endif  // LERV32_TESTS_BLOB_BLOB_DB_H
