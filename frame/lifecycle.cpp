#include "frame/lifecycle.h"

#include <mutex>

#include "frame/odbc_trace.h"
#include "frame/settings.h"

namespace lerv32 {

HINSTANCE DllInstance = nullptr;
int32_t AttachCount = 0;

namespace {

std::mutex g_env_mutex;  // threads that connect at once share one allocation
SQLHENV g_env = SQL_NULL_HENV;
bool g_env_tried = false;

}  // namespace

// The environment is allocated at the first use rather than inside the
// loader's entry point: the driver manager may load further libraries, which
// must not happen while the loader lock is held on Windows.
SQLHENV EnvHandle() {
  std::lock_guard<std::mutex> lock(g_env_mutex);
  if (!g_env_tried) {
    g_env_tried = true;
    if (!SQL_SUCCEEDED(ODBC_CALL(SQLAllocEnv, &g_env))) g_env = SQL_NULL_HENV;
  }
  return g_env;
}

void ProcessAttach(HINSTANCE instance) {
  if (++AttachCount != 1) return;
  DllInstance = instance;
  LoadSettings();
}

void ProcessDetach(bool process_terminating) {
  if (--AttachCount != 0) return;
  std::lock_guard<std::mutex> lock(g_env_mutex);
  // At process exit the other libraries may already be gone; the system
  // takes back everything anyway.
  if (g_env != SQL_NULL_HENV && !process_terminating) ODBC_CALL(SQLFreeEnv, g_env);
  g_env = SQL_NULL_HENV;
  g_env_tried = false;
}

}  // namespace lerv32

#if defined(_WIN32)

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) lerv32::ProcessAttach(instance);
  if (reason == DLL_PROCESS_DETACH) lerv32::ProcessDetach(reserved != nullptr);
  return TRUE;
}

#else

namespace {

__attribute__((constructor)) void OnLibraryLoad() {
  lerv32::ProcessAttach(ModuleOfAddress(reinterpret_cast<const void*>(&OnLibraryLoad)));
}

__attribute__((destructor)) void OnLibraryUnload() { lerv32::ProcessDetach(false); }

}  // namespace

#endif
