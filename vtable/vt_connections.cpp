#include "vtable/vt_connections.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/win_api.h"

namespace lerv32 {
namespace {

struct CachedConnection {
  std::string name;  // kept whole: a long name matches only itself
  LERV32_HDBC dbc;
};

std::vector<CachedConnection>& Cache() {
  static std::vector<CachedConnection> cache;
  return cache;
}

// The cache's name of a connection name: as profile keys match, white space
// around it trimmed and ASCII letters in one case. Empty for no name.
std::string CacheKey(const char* name) {
  if (name == nullptr) return std::string();
  std::string_view text(name);
  auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  std::string key(text);
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return key;
}

// Shared names in use; retired connections are not among them.
size_t SharedNames() {
  return static_cast<size_t>(std::count_if(Cache().begin(), Cache().end(),
                                           [](const CachedConnection& cached) { return !cached.name.empty(); }));
}

// A cached connection of the old default entry keeps serving its open
// tables until the cache is cleared, but no new lookup of "?" finds it and
// it takes no name's place.
void RetireDefaultConnection() {
  for (CachedConnection& cached : Cache()) {
    if (cached.name == "?") cached.name.clear();
  }
}

int32_t lock_count = 0;  // rv_LockVtDsn less rv_UnlockVtDsn

std::vector<void*>& OpenTables() {
  static std::vector<void*> tables;
  return tables;
}

std::string& DefaultEntry() {
  static std::string entry = "1,Default DSN,,";
  return entry;
}

// The entry text of name; false when it is longer than an entry may be.
bool EntryOf(const std::string& name, std::string* entry) {
  if (name == "?") {
    *entry = DefaultEntry();
    return true;
  }
  char text[kVtMaxEntry + 2] = {};
  const DWORD length = GetPrivateProfileStringA("CONNECT", name.c_str(), "", text, sizeof text, kVtProfile);
  if (length > kVtMaxEntry) return false;
  *entry = text;
  return true;
}

// "mode,DSN,UID,PWD" or "mode,!connection string"; null without a comma.
LERV32_HDBC Connect(const std::string& entry) {
  const size_t first = entry.find(',');
  if (first == std::string::npos) return nullptr;
  const std::string rest = entry.substr(first + 1);
  if (!rest.empty() && rest.front() == '!') return rv_OdbcDriverConnect(nullptr, rest.c_str() + 1);
  const size_t second = rest.find(',');
  const std::string dsn = rest.substr(0, second);
  std::string uid, pwd;
  if (second != std::string::npos) {
    const size_t third = rest.find(',', second + 1);
    uid = rest.substr(second + 1, third == std::string::npos ? std::string::npos : third - second - 1);
    if (third != std::string::npos) pwd = rest.substr(third + 1);
  }
  return rv_OdbcConnect(dsn.c_str(), uid.c_str(), pwd.c_str());
}

}  // namespace

std::recursive_mutex& VtMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

VtConnection GetVtConnection(const char* name, VtHolder holder) {
  VtConnection result;
  const std::string key = CacheKey(name);
  if (key.empty()) return result;
  std::string entry;
  if (!EntryOf(key, &entry)) return result;
  result.own = !entry.empty() && entry.front() == '1';
  if (!result.own) {
    for (const CachedConnection& cached : Cache()) {
      if (cached.name == key) {
        result.dbc = cached.dbc;
        return result;
      }
    }
    // A lock exists to share a connection: with no room left to share one,
    // it fails rather than hand out a connection nobody would close.
    if (SharedNames() >= kVtCacheSize && holder == VtHolder::kLock) return result;
  }
  result.dbc = Connect(entry);
  if (result.dbc == nullptr || result.own) return result;
  if (SharedNames() < kVtCacheSize) {
    Cache().push_back({key, result.dbc});
  } else {
    result.own = true;
  }
  return result;
}

void ClearVtConnections() {
  std::vector<CachedConnection> cached = std::move(Cache());
  Cache().clear();
  for (const CachedConnection& connection : cached) rv_OdbcDisconnect(connection.dbc);
}

void ReserveVtTable() { OpenTables().reserve(OpenTables().size() + 1); }

void AddVtTable(void* cursor) { OpenTables().push_back(cursor); }

bool IsVtTable(void* cursor) {
  return cursor != nullptr && std::find(OpenTables().begin(), OpenTables().end(), cursor) != OpenTables().end();
}

bool RemoveVtTable(void* cursor) {
  std::vector<void*>& tables = OpenTables();
  const auto found = std::find(tables.begin(), tables.end(), cursor);
  if (cursor == nullptr || found == tables.end()) return false;
  tables.erase(found);
  return true;
}

void AddVtLock() { ++lock_count; }

void ReleaseVtLock() {
  if (lock_count == 0) return;
  --lock_count;
  ClearVtConnectionsWhenUnused();
}

int32_t VtLockCount() { return lock_count + static_cast<int32_t>(OpenTables().size()); }

void ClearVtConnectionsWhenUnused() {
  if (VtLockCount() == 0) ClearVtConnections();
}

std::string DefaultVtEntry() { return DefaultEntry(); }

void SetDefaultVtEntry(const char* entry) {
  if (entry == nullptr) return;
  std::string changed(entry, strnlen(entry, kVtMaxEntry));
  if (changed == DefaultEntry()) return;
  DefaultEntry() = std::move(changed);
  RetireDefaultConnection();
}

}  // namespace lerv32
