#include "vtable/vt_open.h"

#include <string>
#include <string_view>

#include "platform/win_api.h"
#include "schema/key_fields.h"
#include "vtable/vt_connections.h"

namespace lerv32 {
namespace {

// Connection names and definition specs inside a table spec.
constexpr size_t kMaxSpecName = 49;
// Profile values and the statement made from them; longer ones fail the
// open rather than run cut.
constexpr size_t kMaxText = 1023;

// The text from *at to the next '#', which must come within kMaxSpecName
// characters; *at moves past it.
bool TakeName(std::string_view spec, size_t* at, std::string* name) {
  const size_t hash = spec.find('#', *at);
  if (hash == std::string_view::npos || hash - *at > kMaxSpecName) return false;
  *name = std::string(spec.substr(*at, hash - *at));
  *at = hash + 1;
  return true;
}

// value of key in the table's section; false when it is too long.
bool ProfileText(const std::string& table, const char* key, const char* fallback, std::string* value) {
  char text[kMaxText + 2] = {};
  if (GetPrivateProfileStringA(table.c_str(), key, fallback, text, sizeof text, kVtProfile) > kMaxText) {
    return false;
  }
  *value = text;
  return true;
}

bool FromProfile(const std::string& table, VtTableRequest* request) {
  if (!ProfileText(table, "CONNECT", "", &request->connection) ||
      !ProfileText(table, "STATEMENT", "", &request->text) || !ProfileText(table, "KLAUSEL", "", &request->clause)) {
    return false;
  }
  if (request->text.empty()) request->text = "SELECT * FROM " + QuoteSqlName(table);
  if (request->text.size() > kMaxText) return false;
  request->has_clause = true;
  const bool bookmarks = GetPrivateProfileIntA(table.c_str(), "BOOKMARK", 1, kVtProfile) != 0;
  request->flags = DB_OPEN_SPILL | (bookmarks ? DB_OPEN_BOOKMARKS : 0);
  return true;
}

}  // namespace

bool ParseVtTableSpec(std::string_view spec, VtTableRequest* request) {
  if (spec.empty()) return false;
  size_t at = 1;
  if (spec.front() == '#') {
    if (!TakeName(spec, &at, &request->connection)) return false;
    request->text = std::string(spec.substr(at));
    return true;
  }
  if (spec.front() == '*') {
    request->definition = true;
    request->has_clause = true;
    if (!TakeName(spec, &at, &request->connection) || !TakeName(spec, &at, &request->text)) return false;
    request->clause = std::string(spec.substr(at));
    return true;
  }
  return FromProfile(std::string(spec), request);
}

void* OpenVirtualTable(const char* spec) {
  VtTableRequest request;
  if (spec == nullptr || !ParseVtTableSpec(spec, &request)) return nullptr;
  const VtConnection connection = GetVtConnection(request.connection.c_str(), VtHolder::kTable);
  if (connection.dbc == nullptr) return nullptr;
  ReserveVtTable();  // counting the table then cannot fail
  const int32_t flags = request.flags | (connection.own ? DB_OPEN_OWNCONNECT : 0);
  const char* clause = request.has_clause ? request.clause.c_str() : nullptr;
  void* cursor = request.definition ? rv_StmtOpen(connection.dbc, request.text.c_str(), clause, flags)
                                    : rv_StmtOpenSQL(connection.dbc, request.text.c_str(), clause, flags);
  if (cursor == nullptr) {
    ClearVtConnectionsWhenUnused();
    return nullptr;
  }
  AddVtTable(cursor);
  return cursor;
}

}  // namespace lerv32
