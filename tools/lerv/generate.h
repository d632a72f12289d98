// The texts the library generates from a definition.
#pragma once

#include <string>

#include "include/lerv32.h"

namespace lerv {

enum class Artifact { kScript, kDrop, kStruct, kTriggerStruct, kCpp };

// kScript is the table's script as the library's table creation runs it:
// table, procedures (Transact-SQL only) and the index of every key.
std::string Generate(const TableDef* td, Artifact artifact, bool transact_sql);

}  // namespace lerv
