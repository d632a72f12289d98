// The spill file of a statement cursor: the rows of a result as records of
// one fixed size in a temporary file, so that a cursor on a forward-only
// result can move anywhere. Record n (1-based) lies at (n - 1) * size; the
// file has no name once created and is gone when it is closed or the process
// ends.
#ifndef LERV32_STMT_SPILL_FILE_H
#define LERV32_STMT_SPILL_FILE_H

#include <cstdint>

#include "platform/win_api.h"

namespace lerv32 {

// Fetch codes; every other value is a record number.
constexpr int32_t kGetSame = -5;
constexpr int32_t kGetNext = -4;
constexpr int32_t kGetPrior = -3;
constexpr int32_t kGetLast = -2;
constexpr int32_t kGetFirst = -1;

class SpillFile {
 public:
  // Creates an empty file for records of record_size bytes (at least 1);
  // ok() tells whether that worked.
  explicit SpillFile(uint32_t record_size);
  ~SpillFile();
  SpillFile(const SpillFile&) = delete;
  SpillFile& operator=(const SpillFile&) = delete;

  bool ok() const { return file_ != INVALID_HANDLE_VALUE; }
  int32_t count() const { return count_; }
  // The number of the current record, 0 before the first fetch.
  int32_t position() const { return position_; }

  // Appends a record of record_size bytes; false when it could not be
  // written whole (the file then holds the records before it).
  bool Append(const char* record);

  // Moves by code and reads the record there into buffer (nothing with a
  // null buffer). A record number outside 1..count fails without moving;
  // a step beyond either end fails but stays before the first or after
  // the last record, so that one step back returns to the end record.
  // False also when the seek or read fails.
  bool Fetch(int32_t code, char* buffer);

 private:
  bool Read(int32_t number, char* buffer);

  HANDLE file_ = INVALID_HANDLE_VALUE;
  uint32_t record_size_;
  int32_t count_ = 0;
  int32_t position_ = 0;
};

}  // namespace lerv32

#endif  // LERV32_STMT_SPILL_FILE_H
