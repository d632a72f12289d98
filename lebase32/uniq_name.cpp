// Names unique among the processes of this machine.
#include <atomic>
#include <chrono>
#include <cstdio>

#include "include/lebase32.h"

#if defined(_WIN32)
#include <process.h>
#define LB_GETPID _getpid
#else
#include <unistd.h>
#define LB_GETPID getpid
#endif

extern "C" const char* LEBASE32_CALL UniqName(int32_t counter) {
  static std::atomic<uint32_t> sequence{0};
  thread_local char name[32];
  // The process id keeps processes apart, the sequence keeps calls of one
  // process apart, the time keeps a recycled process id apart.
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
      std::chrono::system_clock::now().time_since_epoch()).count();
  std::snprintf(name, sizeof name, "L%X_%X%02X_%X", static_cast<unsigned>(LB_GETPID()),
                static_cast<unsigned>(++sequence), static_cast<unsigned>(counter) & 0xFFu,
                static_cast<unsigned>(seconds));
  return name;
}
