// What exists once per loaded library: the module handle, the attach count
// and the one ODBC environment of the process.
#ifndef LERV32_FRAME_LIFECYCLE_H
#define LERV32_FRAME_LIFECYCLE_H

#include <cstdint>

#include "platform/win_api.h"

#include <sqlext.h>

namespace lerv32 {

extern HINSTANCE DllInstance;
extern int32_t AttachCount;

// The process's ODBC environment (ODBC 2 behaviour: no attribute is set), or
// null when it could not be allocated.
SQLHENV EnvHandle();

// Called by the loader's entry point. The first attach stores the module
// handle and loads the settings; the last detach frees the environment.
void ProcessAttach(HINSTANCE instance);
void ProcessDetach(bool process_terminating);

}  // namespace lerv32

#endif  // LERV32_FRAME_LIFECYCLE_H
