#include "schema/generators.h"

namespace lerv32 {
void WriteTableProcedures(ScriptWriter&, const TableDef*) {}
}  // namespace lerv32
