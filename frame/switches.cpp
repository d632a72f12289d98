// Exports of the process-wide state: module, environment, switches, memory.
#include "frame/lifecycle.h"
#include "frame/settings.h"
#include "include/lebase32.h"
#include "include/lerv32.h"

extern "C" {

LERV32_HINSTANCE LERV32_CALL rv_GetDllInstance(void) { return lerv32::DllInstance; }

LERV32_HENV LERV32_CALL rv_GetEnvHandle(void) { return lerv32::EnvHandle(); }

int32_t LERV32_CALL rv_GetExtendedLevel(void) { return lerv32::ExSQL_Enabled; }

int32_t LERV32_CALL rv_SetExtendedLevel(int32_t level) {
  const int32_t previous = lerv32::ExSQL_Enabled;
  lerv32::ExSQL_Enabled = level;
  return previous;
}

int32_t LERV32_CALL rv_GetOemConvert(void) { return lerv32::OemConvert; }

int32_t LERV32_CALL rv_SetOemConvert(int32_t convert) {
  const int32_t previous = lerv32::OemConvert;
  lerv32::OemConvert = convert;
  return previous;
}

int32_t LERV32_CALL rv_GetMemUsage(int32_t selector) {
  int32_t first = 0;
  int32_t second = 0;
  GetGlobalUsage(&first, &second);
  return selector == 0 ? first : second;
}

}  // extern "C"
