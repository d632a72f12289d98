// The connection string of a sqlsim database in a test's own folder.
#ifndef LERV32_TESTS_SUPPORT_SQLSIM_DB_H
#define LERV32_TESTS_SUPPORT_SQLSIM_DB_H

#include <filesystem>
#include <string>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace testenv {

// The path as the driver sees it. The driver is a Linux library loaded by
// Wine's ODBC: a Windows program's path is handed over as the Unix path it
// stands for.
inline std::string DriverPath(const std::filesystem::path& path) {
#if defined(_WIN32)
  using ToUnix = char*(__cdecl*)(const wchar_t*);
  static const auto to_unix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (to_unix != nullptr) {
    if (char* unix_name = to_unix(std::filesystem::absolute(path).wstring().c_str())) {
      std::string out = unix_name;
      HeapFree(GetProcessHeap(), 0, unix_name);
      return out;
    }
  }
#endif
  return path.string();
}

// "DRIVER=sqlsim;DATADIR=<dir>;DATABASE=<name>;AUTOCREATE=1", with
// ";TRACE=<trace>" when a trace file is given.
inline std::string SqlsimConnectString(const std::filesystem::path& dir, const std::string& name,
                                       const std::filesystem::path& trace = {}) {
  std::string connect = "DRIVER=sqlsim;DATADIR=" + DriverPath(dir) + ";DATABASE=" + name + ";AUTOCREATE=1";
  if (!trace.empty()) connect += ";TRACE=" + DriverPath(trace);
  return connect;
}

}  // namespace testenv

#endif  // LERV32_TESTS_SUPPORT_SQLSIM_DB_H
