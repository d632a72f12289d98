// The connections of virtual tables: named entries of the profile's
// [CONNECT] section, shared between tables while any table is open or a
// lock is held, or owned by the one table that asked for them.
#ifndef LERV32_VTABLE_VT_CONNECTIONS_H
#define LERV32_VTABLE_VT_CONNECTIONS_H

#include <cstdint>
#include <mutex>
#include <string>

#include "include/lerv32.h"

namespace lerv32 {

// The profile that names tables and connections, relative to the working
// folder.
constexpr const char* kVtProfile = ".\\RVVTAB.INI";
// Longest connection entry; a longer one is refused, never cut.
constexpr size_t kVtMaxEntry = 255;
// Shared connections kept at once; further ones belong to their table.
constexpr size_t kVtCacheSize = 10;

struct VtConnection {
  LERV32_HDBC dbc = nullptr;
  bool own = false;  // the caller's alone: closed with its table
};

// Every function here expects VtMutex() held.
std::recursive_mutex& VtMutex();

enum class VtHolder { kTable, kLock };

// The connection named name: "?" is the default entry, any other name a
// key of [CONNECT], matched as profile keys are (without regard to case,
// blanks around it ignored). A shared one comes from the cache or is
// connected and cached; with the cache full a table gets one of its own and
// a lock none. dbc is null when the entry is missing, unusable or its
// connect fails (nothing is cached then).
VtConnection GetVtConnection(const char* name, VtHolder holder);
// Disconnects every cached connection.
void ClearVtConnections();
// Shared connections live while a table is open or a lock is held. An
// unlock without a lock, or a close of a table not open, counts nothing:
// it cannot take a connection from under an open table.
void ReserveVtTable();
void AddVtTable(void* cursor);
bool IsVtTable(void* cursor);
// False when cursor is no open table.
bool RemoveVtTable(void* cursor);
void AddVtLock();
void ReleaseVtLock();
// Open tables plus held locks; at zero the cache is cleared.
int32_t VtLockCount();
void ClearVtConnectionsWhenUnused();

// The default entry, at most kVtMaxEntry characters. A new one is used by
// every later lookup of "?"; open tables keep the connection they have.
std::string DefaultVtEntry();
void SetDefaultVtEntry(const char* entry);

}  // namespace lerv32

#endif  // LERV32_VTABLE_VT_CONNECTIONS_H
