// The process-wide tenant text and the two names every SQL object of a table
// is built from. The text is set by one thread while others build statements:
// it is read as a whole under a lock, and within one exported call every
// name reads the text the call read first.
#include <cstdio>
#include <cstring>
#include <mutex>

#include "frame/export_guard.h"
#include "tabledef/table_def.h"
#include "tabledef/tenant_scope.h"

namespace lerv32 {

namespace {

std::mutex& TenantMutex() {
  static std::mutex mutex;
  return mutex;
}

TenantText& SharedTenant() {
  static TenantText text;
  return text;
}

// The calling thread's scope: whether one is open, and the text it read.
struct ThreadTenant {
  bool scoped = false;
  bool read = false;
  TenantText text;
};
thread_local ThreadTenant thread_tenant;

TenantText SharedTenantCopy() {
  std::lock_guard<std::mutex> lock(TenantMutex());
  return SharedTenant();
}

bool TenantInUse(const TableDef* td, const TenantText& tenant) {
  return td->UseMandant != 0 && !tenant.empty();
}

// table is bounded: a host may fill TableName to its end without a terminator.
char* FormatName(char* out, const char* first, const char* separator, std::string_view table) {
  std::snprintf(out, kSqlNameSize, "%s%s%.*s", first, separator, static_cast<int>(table.size()), table.data());
  return out;
}

}  // namespace

TenantText CurrentTenant() {
  ThreadTenant& own = thread_tenant;
  if (!own.scoped) return SharedTenantCopy();
  if (!own.read) {
    own.text = SharedTenantCopy();
    own.read = true;
  }
  return own.text;
}

void SetTenant(const char* text) {
  TenantText tenant;
  // At most the 63 characters kept are read: a text that fills them needs
  // no terminator.
  std::snprintf(tenant.text, sizeof tenant.text, "%.*s", static_cast<int>(sizeof tenant.text - 1),
                text != nullptr ? text : "");
  std::lock_guard<std::mutex> lock(TenantMutex());
  SharedTenant() = tenant;
}

TenantScope::TenantScope() noexcept : outer_(!thread_tenant.scoped) {
  if (outer_) {
    thread_tenant.scoped = true;
    thread_tenant.read = false;
  }
}

TenantScope::~TenantScope() {
  if (outer_) thread_tenant.scoped = false;
}

char* SqlBaseName(const TableDef* td, char* out) {
  thread_local char own[kSqlNameSize];
  if (out == nullptr) out = own;
  const TenantText tenant = CurrentTenant();
  return TenantInUse(td, tenant) ? FormatName(out, tenant.text, "_", NameText(td->TableName))
                                 : FormatName(out, "", "", NameText(td->TableName));
}

char* SqlTableName(const TableDef* td, char* out) {
  thread_local char own[kSqlNameSize];
  if (out == nullptr) out = own;
  const TenantText tenant = CurrentTenant();
  return TenantInUse(td, tenant) ? FormatName(out, tenant.text, "$", NameText(td->TableName))
                                 : FormatName(out, "ut_", "", NameText(td->TableName));
}

std::string BaseNameOf(const TableDef* td) {
  char base[kSqlNameSize];
  return SqlBaseName(td, base);
}

}  // namespace lerv32

extern "C" {

const char* LERV32_CALL rv_GetMandant(char* buffer, int32_t size) {
  // The library's own text is a copy per thread: another thread's switch
  // never changes what a caller holds.
  thread_local lerv32::TenantText own;
  const lerv32::TenantText tenant = lerv32::CurrentTenant();
  if (buffer == nullptr) {
    own = tenant;
    return own.text;
  }
  if (size < 1) return buffer;
  std::snprintf(buffer, static_cast<std::size_t>(size), "%s", tenant.text);
  return buffer;
}

const char* LERV32_CALL rv_SetMandant(const char* text) {
  lerv32::SetTenant(text);
  return rv_GetMandant(nullptr, 0);
}

}  // extern "C"
