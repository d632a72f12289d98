#include "frame/odbc_trace.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace lerv32 {
namespace {

// Read once: the trace is meant to be switched on for a whole run.
const std::string& TracePath() {
  static const std::string path = [] {
    const char* value = std::getenv("LERV32_ODBC_TRACE");
    return std::string(value != nullptr ? value : "");
  }();
  return path;
}

}  // namespace

bool OdbcTraceEnabled() { return !TracePath().empty(); }

void OdbcTraceWrite(const char* call, SQLRETURN rc) {
  if (std::FILE* file = std::fopen(TracePath().c_str(), "a")) {
    std::fprintf(file, "%s -> %d\n", call, static_cast<int>(rc));
    std::fclose(file);
  }
}

}  // namespace lerv32
