// Several statements that are all or nothing on the server, also inside a
// transaction of the caller's. The unit begins a transaction level of its
// own and, inside the caller's transaction, a save point: taking the unit
// back rolls back to that save point and ends its level, so the caller's
// work and level stay as they were (a plain ROLLBACK would end them too).
#ifndef LERV32_FRAME_UNIT_TRANSACTION_H
#define LERV32_FRAME_UNIT_TRANSACTION_H

#include <cstdint>
#include <string>

#include "platform/win_api.h"

#include <sql.h>

namespace lerv32 {

class UnitTransaction {
 public:
  // Reads the level the connection is at and begins the unit; begun() tells
  // whether that worked (failures are reported).
  UnitTransaction(SQLHDBC dbc, std::string save_point);
  UnitTransaction(const UnitTransaction&) = delete;
  UnitTransaction& operator=(const UnitTransaction&) = delete;

  bool begun() const { return outer_ >= 0; }
  // Ends the unit's level: the caller's transaction, when there is one,
  // commits it later. False (reported) when that fails.
  bool Commit();
  // Takes back what the unit did, down to the level it began at.
  void TakeBack();

 private:
  bool Run(const std::string& sql);

  SQLHDBC dbc_;
  std::string save_point_;
  int32_t outer_ = -1;  // the caller's level; -1 when the unit did not begin
};

}  // namespace lerv32

#endif  // LERV32_FRAME_UNIT_TRANSACTION_H
