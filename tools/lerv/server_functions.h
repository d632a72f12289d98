// The server functions the generated procedures call, as shipped in
// sql/dpxfunc.sql.
#pragma once

namespace lerv {

const char* ServerFunctionsScript();

}  // namespace lerv
