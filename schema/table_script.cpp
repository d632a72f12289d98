#include "schema/generators.h"

namespace lerv32 {
void WriteTableScript(ScriptWriter&, const TableDef*, bool) {}
void WriteIndexScript(ScriptWriter&, const TableDef*, int32_t, bool) {}
void WriteDropScript(ScriptWriter&, const TableDef*) {}
}  // namespace lerv32
