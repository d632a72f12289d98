// Prepared statement sets: one block per table definition holding every
// statement of record access prepared on one connection, with its
// parameters and results bound to buffers in the block. The library keeps
// a list of the sets it made, so that a pointer a definition carries is
// used only while it is that definition's own, live and current set.
#ifndef LERV32_RECORDS_PREPARED_SET_H
#define LERV32_RECORDS_PREPARED_SET_H

#include "include/lerv32.h"
#include "platform/win_api.h"

#include <sql.h>

namespace lerv32 {

// Prepares td's set on dbc after releasing any earlier one; below ExLevel 2,
// for a definition no set can describe, or on a failure (reported) td stays
// without a set.
void PrepareSet(TableDef* td, SQLHDBC dbc);

// Frees td's set when it is td's own, and clears td's pointer in any case (a
// copy of a definition carries its original's pointer, not its set).
void ReleaseSet(TableDef* td);

// Frees every set prepared on dbc; their definitions lose them.
void ReleaseSetsOn(SQLHDBC dbc);

// td's set when it is td's own (a copy of a definition carries a pointer to
// its original's set, which may be gone); null otherwise.
SqlRec* OwnSet(const TableDef* td);

// td's set while it is td's own and td's fields, keys and names are those it
// was prepared for; null otherwise.
SqlRec* CurrentSet(const TableDef* td);

// CurrentSet when the prepared path is on (ExSQL_Enabled, ExLevel 2 or
// more) and the set was prepared on dbc; null otherwise.
SqlRec* UsableSet(const TableDef* td, SQLHDBC dbc);

// A record's fields into the set's buffers, as a write sends them.
void FillSet(SqlRec* rec, const TableDef* td, const char* record);

// The set's buffers into a record's fields, as a read stores them.
void ScanSet(const SqlRec* rec, const TableDef* td, char* record);

}  // namespace lerv32

#endif  // LERV32_RECORDS_PREPARED_SET_H
