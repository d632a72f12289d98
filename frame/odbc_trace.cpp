#include "frame/odbc_trace.h"

#include <cstdio>
#include <cstdlib>

namespace lerv32 {
namespace {

// Read once: the trace is meant to be switched on for a whole run. Kept in
// a plain array, which outlives every destructor: the environment is freed
// (and traced) while the process ends.
const char* TracePath() {
  static char path[1024] = {};
  static const bool read = [] {
    const char* value = std::getenv("LERV32_ODBC_TRACE");
    if (value != nullptr) std::snprintf(path, sizeof path, "%s", value);
    return true;
  }();
  (void)read;
  return path;
}

}  // namespace

bool OdbcTraceEnabled() { return TracePath()[0] != '\0'; }

void OdbcTraceWrite(const char* call, SQLRETURN rc) {
  // Opened once and never closed: calls are traced until the process ends,
  // and opening the file per call made long transfers crawl. Each line is
  // flushed, so that a reader sees every call made so far.
  static std::FILE* const file = std::fopen(TracePath(), "a");
  if (file != nullptr) {
    std::fprintf(file, "%s -> %d\n", call, static_cast<int>(rc));
    std::fflush(file);
  }
}

}  // namespace lerv32
