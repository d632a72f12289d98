// Opening a virtual table from its table spec.
#ifndef LERV32_VTABLE_VT_OPEN_H
#define LERV32_VTABLE_VT_OPEN_H

#include <cstdint>
#include <string>
#include <string_view>

#include "include/lerv32.h"

namespace lerv32 {

// What a table spec asks for.
struct VtTableRequest {
  std::string connection;
  bool definition = false;  // text is a definition spec, else SQL
  std::string text;
  bool has_clause = false;
  std::string clause;
  int32_t flags = DB_OPEN_BOOKMARKS | DB_OPEN_SPILL;
};

// "#conn#SQL", "*conn#definition#clause" (names of at most 49 characters),
// or a table name, whose section of the profile gives the rest. False for
// an empty spec, a name too long or without its '#', a profile value too
// long.
bool ParseVtTableSpec(std::string_view spec, VtTableRequest* request);

// "#conn#SQL", "*conn#definition#clause", or a table name: a section of
// the profile. The cursor, counted as an open table, or null. Expects
// VtMutex() held.
void* OpenVirtualTable(const char* spec);

}  // namespace lerv32

#endif  // LERV32_VTABLE_VT_OPEN_H
