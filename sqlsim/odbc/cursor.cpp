#include "sqlsim/odbc/cursor.h"

#include <limits>

namespace sqlsim::odbc {

namespace {

int64_t SaturatingAdd(int64_t a, int64_t b) {
  int64_t sum;
  if (__builtin_add_overflow(a, b, &sum)) {
    return b > 0 ? std::numeric_limits<int64_t>::max()
                 : std::numeric_limits<int64_t>::min();
  }
  return sum;
}

int64_t Magnitude(int64_t v) {
  return v == std::numeric_limits<int64_t>::min() ? std::numeric_limits<int64_t>::max()
                                                  : (v < 0 ? -v : v);
}

int64_t AbsoluteTarget(const ScrollRequest& r, int64_t offset, bool* warn_first) {
  const int64_t after = r.last_row + 1;
  if (offset == 0) return 0;
  if (offset > 0) return offset > r.last_row ? after : offset;
  int64_t back = Magnitude(offset);
  if (back <= r.last_row) return r.last_row - back + 1;
  if (back > r.rowset_size) return 0;
  *warn_first = true;
  return 1;
}

int64_t PriorTarget(const ScrollRequest& r, bool* warn_first) {
  if (r.current_start <= 0) return 0;
  if (r.current_start > r.last_row) {
    return r.last_row < r.rowset_size ? 1 : r.last_row - r.rowset_size + 1;
  }
  if (r.current_start == 1) return 0;
  if (r.current_start <= r.rowset_size) {
    *warn_first = true;
    return 1;
  }
  return r.current_start - r.rowset_size;
}

int64_t RelativeTarget(const ScrollRequest& r, bool* warn_first) {
  const int64_t after = r.last_row + 1;
  bool before_start = r.current_start <= 0;
  bool after_end = r.current_start > r.last_row;
  if ((before_start && r.offset > 0) || (after_end && r.offset < 0)) {
    return AbsoluteTarget(r, r.offset, warn_first);
  }
  if (before_start) return 0;
  if (after_end) return after;
  int64_t target = SaturatingAdd(r.current_start, r.offset);
  if (target < 1) {
    if (r.current_start == 1 || Magnitude(r.offset) > r.rowset_size) return 0;
    *warn_first = true;
    return 1;
  }
  return target > r.last_row ? after : target;
}

}  // namespace

int64_t ScrollTarget(const ScrollRequest& r, bool* warn_first) {
  *warn_first = false;
  const int64_t after = r.last_row + 1;
  switch (r.orientation) {
    case SQL_FETCH_NEXT: {
      if (r.current_start <= 0) return 1;
      if (r.current_start > r.last_row) return after;
      int64_t target = SaturatingAdd(r.current_start, r.previous_size);
      return target > r.last_row ? after : target;
    }
    case SQL_FETCH_PRIOR:
      return PriorTarget(r, warn_first);
    case SQL_FETCH_FIRST:
      return 1;
    case SQL_FETCH_LAST:
      return r.rowset_size <= r.last_row ? r.last_row - r.rowset_size + 1 : 1;
    case SQL_FETCH_ABSOLUTE:
      return AbsoluteTarget(r, r.offset, warn_first);
    case SQL_FETCH_RELATIVE:
      return RelativeTarget(r, warn_first);
    case SQL_FETCH_BOOKMARK: {
      int64_t target = SaturatingAdd(r.bookmark, r.offset);
      if (target < 1) return 0;
      return target > r.last_row ? after : target;
    }
    default:
      return after;
  }
}

std::unique_ptr<Cursor> Cursor::Open(std::unique_ptr<RowSource> source,
                                     bool scrollable, uint64_t max_rows,
                                     Diagnostics* diags, std::unique_ptr<Cursor> spare) {
  std::unique_ptr<Cursor> c = spare ? std::move(spare) : std::unique_ptr<Cursor>(new Cursor());
  c->source_ = std::move(source);
  c->columns_ = &c->source_->Columns();
  c->scrollable_ = scrollable;
  c->max_rows_ = max_rows;
  Row row;
  if (scrollable) {
    while (c->ReadRow(&row, diags)) c->snapshot_.push_back(std::move(row));
    if (!c->source_done_) return nullptr;
    c->KeepColumns();
    c->source_.reset();
  } else if (c->ReadRow(&row, diags)) {
    c->pending_ = std::move(row);
  } else if (!c->source_done_) {
    return nullptr;
  }
  c->ResolveTypes();
  return c;
}

void Cursor::Release() {
  // Rowsets this large are rare: their buffers are not worth keeping.
  constexpr size_t kKeptRows = 256;
  columns_ = &resolved_;
  resolved_.clear();
  source_.reset();
  pending_.reset();
  std::vector<Row>().swap(snapshot_);
  stream_rows_.clear();
  rowset_.clear();
  if (stream_rows_.capacity() > kKeptRows) std::vector<Row>().swap(stream_rows_);
  if (rowset_.capacity() > kKeptRows) std::vector<const Row*>().swap(rowset_);
  rows_read_ = 0;
  source_done_ = false;
  start_ = 0;
  requested_ = 0;
}

// False at the end (source_done_ set) or on an error (source_done_ clear).
bool Cursor::ReadRow(Row* row, Diagnostics* diags) {
  if (source_done_) return false;
  if (max_rows_ != 0 && rows_read_ >= max_rows_) {
    source_done_ = true;
    return false;
  }
  Diagnostics found;
  if (!source_->Next(&found)) {
    bool error = false;
    for (const Diagnostic& d : found) error = error || IsError(d);
    diags->insert(diags->end(), found.begin(), found.end());
    source_done_ = !error;
    return false;
  }
  if (!found.empty()) diags->insert(diags->end(), found.begin(), found.end());
  source_->TakeRow(row);
  ++rows_read_;
  return true;
}

void Cursor::KeepColumns() {
  if (columns_ == &resolved_) return;
  resolved_ = *columns_;
  columns_ = &resolved_;
}

void Cursor::ResolveTypes() {
  for (size_t i = 0; i < columns_->size(); ++i) {
    if ((*columns_)[i].type != SqlType::kUnknown) continue;
    KeepColumns();
    const Value* sample = nullptr;
    if (pending_ && !(*pending_)[i].IsNull()) sample = &(*pending_)[i];
    for (const Row& r : snapshot_) {
      if (sample) break;
      if (!r[i].IsNull()) sample = &r[i];
    }
    Value::Kind kind = sample ? sample->kind : Value::Kind::kText;
    switch (kind) {
      case Value::Kind::kInteger: resolved_[i].type = SqlType::kInt; break;
      case Value::Kind::kReal: resolved_[i].type = SqlType::kFloat; break;
      case Value::Kind::kBlob: resolved_[i].type = SqlType::kVarbinary; break;
      default: resolved_[i].type = SqlType::kVarchar; break;
    }
  }
}

int64_t Cursor::known_rows() const {
  return scrollable_ ? static_cast<int64_t>(snapshot_.size())
                     : static_cast<int64_t>(rows_read_);
}

bool Cursor::after_end() const {
  if (scrollable_) return start_ > static_cast<int64_t>(snapshot_.size());
  return start_ > 0 && rowset_.empty();
}

bool Cursor::FetchForward(size_t n, Diagnostics* diags) {
  int64_t next = start_ <= 0 ? 1 : start_ + static_cast<int64_t>(rowset_.size());
  stream_rows_.clear();
  rowset_.clear();
  start_ = next;
  requested_ = static_cast<int64_t>(n);
  Row row;
  while (stream_rows_.size() < n) {
    if (pending_) {
      stream_rows_.push_back(std::move(*pending_));
      pending_.reset();
      continue;
    }
    if (!ReadRow(&row, diags)) {
      if (!source_done_) return false;
      break;
    }
    stream_rows_.push_back(std::move(row));
  }
  for (const Row& r : stream_rows_) rowset_.push_back(&r);
  return true;
}

void Cursor::PlaceRowset(int64_t start, size_t n) {
  start_ = start;
  requested_ = static_cast<int64_t>(n);
  rowset_.clear();
  int64_t size = static_cast<int64_t>(snapshot_.size());
  for (int64_t i = start; i >= 1 && i <= size && rowset_.size() < n; ++i) {
    rowset_.push_back(&snapshot_[static_cast<size_t>(i - 1)]);
  }
}

}  // namespace sqlsim::odbc
