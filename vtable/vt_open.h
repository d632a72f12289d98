// Opening a virtual table from its table spec.
#ifndef LERV32_VTABLE_VT_OPEN_H
#define LERV32_VTABLE_VT_OPEN_H

namespace lerv32 {

// "#conn#SQL", "*conn#definition#clause", or a table name: a section of
// the profile. The cursor, counted as an open table, or null. Expects
// VtMutex() held.
void* OpenVirtualTable(const char* spec);

}  // namespace lerv32

#endif  // LERV32_VTABLE_VT_OPEN_H
