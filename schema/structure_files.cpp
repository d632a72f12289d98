#include "schema/generators.h"

namespace lerv32 {
void WriteCodebaseStruct(ScriptWriter&, const TableDef*) {}
void WriteTriggerStruct(ScriptWriter&, const TableDef*) {}
}  // namespace lerv32
