// The rows of one result set as the application fetches them. A
// forward-only cursor streams rows from the engine. The scrollable types
// (static, keyset-driven, dynamic) read the whole result into a snapshot
// when the statement runs, so their membership and values are those of
// the execution: a keyset-driven or dynamic cursor does not see later
// changes made by this or other connections.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "sqlsim/engine/engine.h"
#include "sqlsim/odbc/odbc_api.h"

namespace sqlsim::odbc {

using Row = std::vector<Value>;

// Where a scroll request puts the first row of the new rowset: 1-based,
// 0 before the start, last_row + 1 after the end. warn_first is set when
// the request reached before row 1 and the rowset starts at 1 (01S06).
struct ScrollRequest {
  SQLSMALLINT orientation = SQL_FETCH_NEXT;
  int64_t offset = 0;         // FetchOffset
  int64_t bookmark = 0;       // the row a BOOKMARK fetch starts from
  int64_t current_start = 0;  // start of the current rowset
  int64_t previous_size = 0;  // rows asked for by the previous fetch
  int64_t rowset_size = 1;
  int64_t last_row = 0;       // rows in the result set
};
int64_t ScrollTarget(const ScrollRequest& r, bool* warn_first);

class Cursor {
 public:
  // Reads ahead the first row (all rows when scrollable) so that columns
  // of unknown type are described from their values. max_rows 0 means no
  // limit. Null with diagnostics when reading failed.
  // A spare cursor (one let go by Release) is used again, with the memory
  // it holds, instead of a new one.
  static std::unique_ptr<Cursor> Open(std::unique_ptr<RowSource> source,
                                      bool scrollable, uint64_t max_rows,
                                      Diagnostics* diags,
                                      std::unique_ptr<Cursor> spare = nullptr);
  // Lets go of the rows and the row source (which may refer to the
  // execution that made it) and starts over; keeps small buffers for the
  // next Open.
  void Release();

  Cursor(const Cursor&) = delete;
  Cursor& operator=(const Cursor&) = delete;

  // The engine's description with unknown types resolved.
  const std::vector<ColumnDesc>& columns() const { return *columns_; }
  bool scrollable() const { return scrollable_; }
  // Rows of a snapshot; for a forward-only cursor the rows read so far.
  int64_t known_rows() const;

  // Forward-only: the next up to n rows. Scrollable: the rowset at start
  // (as ScrollTarget computes it). False with diagnostics on a read error.
  bool FetchForward(size_t n, Diagnostics* diags);
  void PlaceRowset(int64_t start, size_t n);

  int64_t rowset_start() const { return start_; }
  size_t rowset_rows() const { return rowset_.size(); }
  // The size asked for by the last fetch (the rows it may have missed
  // past the end included).
  int64_t requested_size() const { return requested_; }
  const Row& RowAt(size_t i) const { return *rowset_[i]; }
  // 1-based number of a row of the rowset in the result: its bookmark.
  int64_t RowNumber(size_t i) const { return start_ + static_cast<int64_t>(i); }
  bool before_start() const { return start_ <= 0; }
  bool after_end() const;

 private:
  Cursor() = default;
  bool ReadRow(Row* row, Diagnostics* diags);
  // Copies the source's description, to outlive the source or be changed.
  void KeepColumns();
  void ResolveTypes();

  std::unique_ptr<RowSource> source_;
  // The source's own description while it holds no unknown type and the
  // source stays open (a forward-only cursor); else resolved_.
  const std::vector<ColumnDesc>* columns_ = &resolved_;
  std::vector<ColumnDesc> resolved_;
  bool scrollable_ = false;
  uint64_t max_rows_ = 0;
  uint64_t rows_read_ = 0;
  bool source_done_ = false;
  std::optional<Row> pending_;       // read ahead, not yet fetched
  std::vector<Row> snapshot_;        // scrollable: all rows
  std::vector<Row> stream_rows_;     // forward-only: the current rowset
  std::vector<const Row*> rowset_;
  int64_t start_ = 0;
  int64_t requested_ = 0;
};

}  // namespace sqlsim::odbc
