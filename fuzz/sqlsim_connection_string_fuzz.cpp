// Any connection string parses or is refused without crashing, and the
// completed string handed back reads back to the same attributes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sqlsim/odbc/connection_string.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using sqlsim::odbc::ConnectionAttributes;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ConnectionAttributes attributes;
  std::string error;
  if (!sqlsim::odbc::ParseConnectionString(text, &attributes, &error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  // The password is never handed back, the driver only without a data source.
  attributes.erase("PWD");
  if (attributes.count("DSN") != 0) attributes.erase("DRIVER");
  const std::string completed = sqlsim::odbc::CompletedConnectionString(attributes);
  ConnectionAttributes again;
  if (!sqlsim::odbc::ParseConnectionString(completed, &again, &error) || again != attributes) std::abort();
  return 0;
}
