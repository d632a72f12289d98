// Definition files: loading and saving a table definition as text.
#ifndef LERV32_TABLEDEF_DEFINITION_FILE_H
#define LERV32_TABLEDEF_DEFINITION_FILE_H

#include <string>
#include <vector>

#include "tabledef/table_def.h"

namespace lerv32 {

// Applies entry lines to td in order, as the loader does (without its reset
// and without capping the levels by the settings).
void ApplyDefinitionLines(TableDef* td, const std::vector<std::string>& lines);

int32_t LoadTableDef(TableDef* td, const char* path);
int32_t SaveTableDef(const TableDef* td, const char* path);

}  // namespace lerv32

#endif  // LERV32_TABLEDEF_DEFINITION_FILE_H
