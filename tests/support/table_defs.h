// Owning handle for table definitions in tests.
#ifndef LERV32_TESTS_SUPPORT_TABLE_DEFS_H
#define LERV32_TESTS_SUPPORT_TABLE_DEFS_H

#include <memory>

#include "include/lerv32.h"

namespace testenv {

struct TableDefFree {
  void operator()(TableDef* td) const { rv_FreeTableDef(td); }
};
using TableDefPtr = std::unique_ptr<TableDef, TableDefFree>;

inline TableDefPtr NewTableDef() { return TableDefPtr(rv_AllocTableDef()); }

}  // namespace testenv

#endif  // LERV32_TESTS_SUPPORT_TABLE_DEFS_H
