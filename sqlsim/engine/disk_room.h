// Room on disk for a database's files.
#pragma once

#include <sqlite3.h>

namespace sqlsim {

// False when the files of db's main database cannot grow by a few pages:
// the disk is (nearly) full, or a file reached the process's file size
// limit. SQLite reports the second as an I/O error, not as a full disk.
bool FilesCanGrow(sqlite3* db);

}  // namespace sqlsim
