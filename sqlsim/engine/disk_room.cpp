#include "sqlsim/engine/disk_room.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cstdint>
#include <string>

namespace sqlsim {
namespace {

// More than one write of SQLite needs: a few pages with their WAL headers.
constexpr uint64_t kRoom = 1 << 20;

bool DiskHasRoom(const char* path) {
  struct statvfs disk {};
  if (statvfs(path, &disk) != 0) return true;
  return static_cast<uint64_t>(disk.f_bavail) * disk.f_frsize >= kRoom;
}

bool BelowSizeLimit(const std::string& path) {
  struct rlimit limit {};
  if (getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return true;
  for (const char* suffix : {"", "-wal", "-journal"}) {
    struct stat file {};
    if (stat((path + suffix).c_str(), &file) != 0) continue;
    if (static_cast<uint64_t>(file.st_size) + kRoom > static_cast<uint64_t>(limit.rlim_cur)) return false;
  }
  return true;
}

}  // namespace

bool FilesCanGrow(sqlite3* db) {
  const char* path = db ? sqlite3_db_filename(db, "main") : nullptr;
  if (!path || !*path) return true;
  return DiskHasRoom(path) && BelowSizeLimit(path);
}

}  // namespace sqlsim
