// A table spec "=address": the address of a caller's TableDef, as text.
#ifndef LERV32_STMT_TABLE_DEF_ADDRESS_H
#define LERV32_STMT_TABLE_DEF_ADDRESS_H

#include "include/lerv32.h"

namespace lerv32 {

// The definition at the address text names, copied into *out without its key
// filters and prepared set (which stay the caller's). The address is
// pointer-sized, in decimal (negative as a signed 32-bit address is printed)
// or with 0x in hexadecimal. False, *out untouched, for any other text, an
// address of memory that cannot be read, or a definition the calls could
// not have built (ValidTableDef).
bool CopyTableDefAt(const char* text, TableDef* out);

}  // namespace lerv32

#endif  // LERV32_STMT_TABLE_DEF_ADDRESS_H
