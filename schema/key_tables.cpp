#include "schema/generators.h"

namespace lerv32 {
void WriteKeyTableScript(ScriptWriter&, const TableDef*) {}
std::string FilterToSql(const char*) { return {}; }
}  // namespace lerv32
