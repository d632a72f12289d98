#include "schema/generators.h"

namespace lerv32 {
void WriteCppTableDef(ScriptWriter&, const TableDef*) {}
}  // namespace lerv32
