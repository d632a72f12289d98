#include "schema/generators.h"

namespace lerv32 {
void WriteKeyProcedures(ScriptWriter&, const TableDef*, int32_t) {}
}  // namespace lerv32
