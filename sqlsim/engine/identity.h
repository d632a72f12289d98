// Identity values: what SCOPE_IDENTITY(), @@IDENTITY and IDENT_CURRENT()
// give. An IDENTITY column is SQLite's AUTOINCREMENT row id, so the value
// an INSERT generated (or was given with IDENTITY_INSERT) is the
// connection's last row id, and the table's counter is its sqlite_sequence
// row. SQLite numbers increment 1 from a seed of 1 or more; other columns
// get their values from tsql_next_identity.
#pragma once

#include <sqlite3.h>

#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/compiled.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/session.h"

namespace sqlsim {

// After an INSERT into table added rows: its last identity value becomes
// the frame's SCOPE_IDENTITY() and the connection's @@IDENTITY (NULL for a
// table without identity, outside triggers). Call it before the
// statement's triggers run.
void NoteIdentity(SessionImpl& session, Frame& frame, const CatalogTable& table);

// After a rollback: SQLite took back the counters of the inserts rolled
// back; the server hands identity values out once only, so they are set
// forward again.
void KeepIdentityCounters(SessionImpl& session);

// Once the transaction has ended there is nothing left to keep.
void ForgetIssuedIdentities(SessionImpl& session);

// The end of a statement that changed rows: the savepoint it opened (if
// any) released, or rolled back to on failure together with the temporary
// objects made since; its own transaction ended; the identity bookkeeping
// done. False when the statement failed or its commit did (diags then say
// why).
bool EndDataChange(SessionImpl& session, const SessionImpl::StatementSavePoint* savepoint, bool opened_own, bool ok,
                   Diagnostics* diags);

// Registers tsql_ident_current(name): the table's last identity value, its
// seed before any, NULL for a name that is no table with an identity.
int RegisterIdentCurrent(sqlite3* db);

// Registers tsql_next_identity and tsql_explicit_identity
// (identity_values.cpp).
int RegisterIdentityValues(sqlite3* db);

// SET IDENTITY_INSERT table ON|OFF: ON for one table of the connection at
// a time.
bool SetIdentityInsert(SessionImpl& session, const ast::SetOption& option, Diagnostics* diags);

// Before an INSERT into a table with an IDENTITY column runs: an explicit
// value needs IDENTITY_INSERT ON, which in turn needs one and a column list.
bool CheckIdentityInsert(SessionImpl& session, const CompiledStatement& insert, const CatalogTable& table,
                         Diagnostics* diags);

}  // namespace sqlsim
