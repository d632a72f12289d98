// MERGE: the layout of its plan, the one query that pairs source and target
// rows before anything changes (translate_merge.cpp), which the executor
// then applies row by row (merge.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sqlsim/engine/engine.h"
#include "sqlsim/front/ast.h"

namespace sqlsim {

// Columns of a plan row: the target row's rowid (NULL when no target row
// matched), the index of the clause that acts on the pair (NULL: none),
// the target row as it was, then each clause's values in clause order.
inline constexpr size_t kMergeTargetRowid = 0;
inline constexpr size_t kMergeClause = 1;
inline constexpr size_t kMergeOldRow = 2;

// Values a clause writes: its SET items, or its INSERT values.
size_t MergeValueCount(const ast::MergeClause& clause);
// The plan column of clause `index`'s first value, for a target of
// `columns` columns.
size_t MergeValueColumn(const ast::Merge& merge, size_t index, size_t columns);

using RowValues = std::vector<Value>;

// What a MERGE changed, per action as triggers know them (0 insert,
// 1 update, 2 delete): the rows as they are now and as they were; an
// update's two lists pair up by position.
struct MergeRows {
  std::vector<RowValues> inserted[3];
  std::vector<RowValues> deleted[3];
  int64_t Count() const { return static_cast<int64_t>(inserted[0].size() + inserted[1].size() + deleted[2].size()); }
};

class SessionImpl;
struct CatalogTable;

// Appends rows to a SQLite table of `table`'s columns, numbered from
// `first_rowid` on (0: as SQLite numbers them).
bool AppendRows(SessionImpl& session, const std::string& sqlite_table, const CatalogTable& table,
                const std::vector<RowValues>& rows, int64_t first_rowid, Diagnostics* diags);
// INSERTED and DELETED of an OUTPUT: one row each for an update, only
// one of them for an insert or a delete.
bool FillMergeOutputRows(SessionImpl& session, const CatalogTable& table, const MergeRows& rows,
                         Diagnostics* diags);
// The capture tables of `table` holding the rows of one action.
bool FillMergeCaptures(SessionImpl& session, const CatalogTable& table, const MergeRows& rows, int action,
                       Diagnostics* diags);

}  // namespace sqlsim
